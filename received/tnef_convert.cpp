#include "received/tnef_convert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "plugin/ansi_text.h"
#include "received/attachment_file_name.h"

namespace vlm {
namespace {

// An attribute record: level (1), identifier and type (4), length (4, little-endian), value.
constexpr size_t kIdentifierSize = 4;
constexpr size_t kLengthSize = 4;

// A title longer than this is shortened to a file name anyway; reading no more keeps the memory
// spent on titles small whatever the file claims.
constexpr size_t kMaxTitleBytes = 1024;

std::uint32_t ReadLength(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// The title as the sender's code page spells it; bytes that do not form valid text in it
// become '_' rather than failing the whole mail.
std::wstring TitleText(std::string_view bytes) {
  try {
    return FromAnsi(bytes);
  } catch (const std::exception&) {
    std::wstring text;
    for (char c : bytes)
      text += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'_';
    return text;
  }
}

// A file in the target folder that nothing else uses, for writing an attachment before it is
// complete.
std::filesystem::path FreeTemporaryName(const std::filesystem::path& folder) {
  for (unsigned n = 0;; ++n) {
    std::filesystem::path candidate = folder / (L"~tnef" + std::to_wstring(n) + L".part");
    std::error_code error;
    if (std::filesystem::symlink_status(candidate, error).type() ==
        std::filesystem::file_type::not_found)
      return candidate;
  }
}

// Removes the temporary file unless it was renamed into place.
class TTemporaryFile {
 public:
  explicit TTemporaryFile(std::filesystem::path path) : FPath(std::move(path)) {}
  ~TTemporaryFile() {
    std::error_code ignored;
    if (!FKept) std::filesystem::remove(FPath, ignored);
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  const std::filesystem::path& Path() const { return FPath; }
  void Keep() { FKept = true; }

 private:
  std::filesystem::path FPath;
  bool FKept = false;
};

}  // namespace

TTNEFConvert::TTNEFConvert(const std::filesystem::path& TNEFFileName) : FFileName(TNEFFileName) {
  FSourceFileStream.open(FFileName, std::ios::binary);
  if (!FSourceFileStream) throw ETNEFConvert("cannot open the TNEF file");
}

TTNEFConvert::~TTNEFConvert() = default;

bool TTNEFConvert::Convert(std::vector<std::wstring>& ResultFile,
                           const std::filesystem::path& TempFolder) {
  LoadSource();
  const size_t count = CountAttachments();
  if (count == 0) return false;
  FAttTitles = ReadTitles();
  // Every length is checked before the first file is created, so a malformed file leaves
  // nothing behind.
  for (size_t offset : FDataOffsets) ValueAt(offset, "attachment data");
  TUniqueFileNames names;
  for (size_t i = 0; i < count; ++i) {
    std::wstring name = names.Claim(AttachmentName(i));
    SaveAttachment(i, FileInFolder(TempFolder, name));
    ResultFile.push_back(std::move(name));
  }
  return true;
}

void TTNEFConvert::LoadSource() {
  FSourceFileStream.seekg(0, std::ios::end);
  const std::streamoff size = FSourceFileStream.tellg();
  if (size < 0) throw ETNEFConvert("cannot read the TNEF file");
  if (static_cast<std::uintmax_t>(size) > std::numeric_limits<size_t>::max() / 2)
    throw ETNEFConvert("the TNEF file is too large");
  FSourceSize = static_cast<size_t>(size);
  FSource = std::make_unique_for_overwrite<char[]>(FSourceSize);
  FSourceFileStream.seekg(0);
  FSourceFileStream.read(FSource.get(), size);
  if (FSourceFileStream.gcount() != size) throw ETNEFConvert("cannot read the TNEF file");
}

// Finds the next match of either identifier after FCurrentStreamPos and leaves
// FCurrentStreamPos on it. Both identifiers have 0x80 as their second byte, so memchr finds the
// candidates and one pass over the file serves both attributes.
TTNEFConvert::TAttribute TTNEFConvert::FindAttribute() {
  const auto* data = reinterpret_cast<const unsigned char*>(FSource.get());
  // The candidate at offset p is tested through its byte p + 1; a candidate needs 4 bytes.
  size_t from = FCurrentStreamPos + 2;
  while (FSourceSize >= 3 && from < FSourceSize - 2) {
    const void* hit = std::memchr(data + from, 0x80, FSourceSize - 2 - from);
    if (hit == nullptr) break;
    const size_t p = static_cast<size_t>(static_cast<const unsigned char*>(hit) - data) - 1;
    from = p + 2;
    if (data[p + 3] != 0x00) continue;
    FCurrentStreamPos = p;
    if (data[p] == 0x10 && data[p + 2] == 0x01) return TAttribute::atTitle;
    if (data[p] == 0x0F && data[p + 2] == 0x06) return TAttribute::atData;
  }
  FCurrentStreamPos = FSourceSize;
  return TAttribute::atNone;
}

// Indexes every match of both identifiers in one pass and answers the number of data values.
size_t TTNEFConvert::CountAttachments() {
  FTitleOffsets.clear();
  FDataOffsets.clear();
  FCurrentStreamPos = 0;
  for (TAttribute found; (found = FindAttribute()) != TAttribute::atNone;)
    (found == TAttribute::atTitle ? FTitleOffsets : FDataOffsets).push_back(FCurrentStreamPos);
  FCurrentStreamPos = 0;
  return FDataOffsets.size();
}

std::string_view TTNEFConvert::ValueAt(size_t identifierOffset, const char* what) const {
  const size_t lengthOffset = identifierOffset + kIdentifierSize;
  if (FSourceSize - lengthOffset < kLengthSize)
    throw ETNEFConvert(std::string("the length of an ") + what + " runs past the end of the file");
  const size_t length = ReadLength(FSource.get() + lengthOffset);
  const size_t valueOffset = lengthOffset + kLengthSize;
  if (length > FSourceSize - valueOffset)
    throw ETNEFConvert(std::string("an ") + what + " runs past the end of the file");
  return {FSource.get() + valueOffset, length};
}

// A title is its value without the final byte (the terminating zero). Windows would end the
// name at the first zero byte, so the title ends there too.
std::vector<std::string_view> TTNEFConvert::ReadTitles() const {
  std::vector<std::string_view> titles;
  titles.reserve(FTitleOffsets.size());
  for (size_t offset : FTitleOffsets) {
    std::string_view title = ValueAt(offset, "attachment title");
    title = title.substr(0, title.empty() ? 0 : title.size() - 1);
    title = title.substr(0, std::min({title.find('\0'), title.size(), kMaxTitleBytes}));
    titles.push_back(title);
  }
  return titles;
}

// The title of the index-th data value as a safe file name, or "attachment<index + 1>" when the
// file has no such title or nothing of it can be used.
std::wstring TTNEFConvert::AttachmentName(size_t index) const {
  std::wstring name;
  if (index < FAttTitles.size()) name = SafeFileName(TitleText(FAttTitles[index]));
  return name.empty() ? L"attachment" + std::to_wstring(index + 1) : name;
}

void TTNEFConvert::SaveAttachment(size_t index, const std::filesystem::path& FileName) const {
  const std::string_view value = ValueAt(FDataOffsets[index], "attachment data");
  TTemporaryFile temporary(FreeTemporaryName(FileName.parent_path()));
  {
    std::ofstream out(temporary.Path(), std::ios::binary | std::ios::trunc);
    out.write(value.data(), static_cast<std::streamsize>(value.size()));
    out.close();
    if (!out) throw ETNEFConvert("cannot write an attachment file");
  }
  std::error_code error;
  std::filesystem::rename(temporary.Path(), FileName, error);
  if (error) throw ETNEFConvert("cannot write an attachment file: " + error.message());
  temporary.Keep();
}

}  // namespace vlm
