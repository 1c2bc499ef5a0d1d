#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "base/mime_table.h"

namespace {

constexpr int kRowCount = vlm::kMimeTableLastId - vlm::kMimeTableFirstId + 1;

// The raw bytes of the data file the module's string table is built from.
std::string ReadTableFile() {
  std::ifstream in(VELMORA_SOURCE_DIR "/resources/mime_types.txt", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One wide row per line, as the module's string resources hold them.
const std::vector<std::wstring>& TableRows() {
  static const std::vector<std::wstring> rows = [] {
    std::vector<std::wstring> result;
    const std::string text = ReadTableFile();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      result.push_back(vlm::FromUtf8(std::string_view(text).substr(start, end - start)));
      start = end + 1;
    }
    return result;
  }();
  return rows;
}

std::wstring LoadTableRow(int id) {
  const auto& rows = TableRows();
  const int index = id - vlm::kMimeTableFirstId;
  return index >= 0 && index < static_cast<int>(rows.size()) ? rows[index] : std::wstring();
}

std::wstring ExtensionOf(const std::wstring& row) {
  return row.substr(0, row.find(L' '));
}

TEST(MimeTable, FileHoldsOneWellFormedRowPerId) {
  const std::string text = ReadTableFile();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
  EXPECT_EQ(text.find('\r'), std::string::npos) << "LF line ends only";
  EXPECT_EQ(text.back(), '\n');

  const auto& rows = TableRows();
  ASSERT_EQ(static_cast<int>(rows.size()), kRowCount);
  std::set<std::wstring> extensions;
  for (int i = 0; i < kRowCount; ++i) {
    const int id = i + vlm::kMimeTableFirstId;
    const std::wstring& row = rows[i];
    const size_t space = row.find(L' ');
    ASSERT_NE(space, std::wstring::npos) << "id " << id;
    const std::wstring extension = row.substr(0, space);
    EXPECT_TRUE(extension.size() > 1 && extension[0] == L'.') << "id " << id;
    EXPECT_FALSE(std::any_of(extension.begin(), extension.end(),
                             [](wchar_t c) { return c >= L'A' && c <= L'Z'; }))
        << "id " << id;
    EXPECT_LT(space + 1, row.size()) << "id " << id << " has no type";
    extensions.insert(extension);
  }
  EXPECT_EQ(extensions.size(), 450u);
}

TEST(MimeTable, FixedRowsHoldAtTheirIds) {
  struct Case {
    int id;
    const char* row;
  };
  const Case cases[] = {
      {101, ".3dm x-world/x-3dmf"},
      {146, ".bmp image/bmp"},
      {147, ".bmp image/x-windows-bmp"},
      {198, ".doc application/msword"},
      {205, ".dwf drawing/x-dwf (old)"},
      {223, ".exe application/octet-stream"},
      {245, ".gif image/gif"},
      {253, ".gz application/x-compressed"},
      {254, ".gz application/x-gzip"},
      {278, ".htm text/html"},
      {279, ".html text/html"},
      {315, ".jpg image/jpeg"},
      {316, ".jpg image/pjpeg"},
      {328, ".lha application/lha"},
      {341, ".lzh application/octet-stream"},
      {342, ".lzh application/x-lzh"},
      {396, ".mp3 audio/mpeg3"},
      {451, ".pdf application/pdf"},
      {467, ".png image/png"},
      {477, ".ppt application/mspowerpoint"},
      {592, ".tar application/x-tar"},
      {615, ".txt text/plain"},
      {711, ".xls application/excel"},
      {730, ".x-png image/png"},
      {737, ".zip application/x-compressed"},
      {738, ".zip application/x-zip-compressed"},
      {739, ".zip application/zip"},
      {740, ".zip multipart/x-zip"},
      {742, ".zsh text/x-script.zsh"},
      {743, ".xlsx application/msexcel"},
      {744, ".pptx application/powerpoint"},
      {745, ".docx application/msword"},
  };
  for (const auto& c : cases) EXPECT_EQ(LoadTableRow(c.id), vlm::FromUtf8(c.row)) << "id " << c.id;

  // Further types of the same extension follow its first row.
  for (int id : {329, 330, 478, 479, 480, 712, 713, 714})
    EXPECT_EQ(ExtensionOf(LoadTableRow(id)), ExtensionOf(LoadTableRow(id - 1))) << "id " << id;
}

TEST(MimeTable, RowsAreSortedByExtensionUpToTheOfficeFormats) {
  const auto& rows = TableRows();
  ASSERT_EQ(static_cast<int>(rows.size()), kRowCount);
  std::vector<std::wstring> sorted;
  for (int id = 101; id <= 742; ++id)
    if (id != 730) sorted.push_back(ExtensionOf(rows[id - 101]));
  EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
}

TEST(LookupMimeType, FirstMatchingRowWins) {
  struct Case {
    const wchar_t* extension;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L".PDF", L"application/pdf"},
      {L".zip", L"application/x-compressed"},
      {L".Zip", L"application/x-compressed"},
      {L".docx", L"application/msword"},
      {L".dwf", L"drawing/x-dwf (old)"},
      {L".bmp", L"image/bmp"},
      {L".gz", L"application/x-compressed"},
      {L".JPG", L"image/jpeg"},
      {L".x-png", L"image/png"},
      {L".zsh", L"text/x-script.zsh"},
      {L".dat", L"text/plain"},
      {L".do", L"text/plain"},  // only the start of ".doc"
      {L"pdf", L"text/plain"},  // rows carry the dot
      {L"", L"text/plain"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(vlm::LookupMimeType(c.extension, LoadTableRow), c.expected)
        << "extension \"" << vlm::ToUtf8(c.extension) << "\"";
}

TEST(LookupMimeType, LongTypeIsCutTo255Characters) {
  const std::wstring type(300, L'x');
  const auto loader = [&](int id) { return id == 101 ? L".long " + type : std::wstring(); };
  EXPECT_EQ(vlm::LookupMimeType(L".long", loader), type.substr(0, 255));
}

}  // namespace
