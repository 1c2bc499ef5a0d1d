#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "received/tnef_convert.h"
#include "tests/support/little_endian.h"
#include "tests/support/scratch_folder.h"
#include "tests/unit/received/folder_contents.h"
#include "tests/unit/received/tnef_builder.h"

namespace {

using vlm::test::kAttAttachData;
using vlm::test::kAttAttachTitle;
using vlm::test::kLevelAttachment;
using vlm::test::LittleEndian;
using vlm::test::TScratchFolder;
using vlm::test::TTnefBuilder;
using Files = std::vector<std::pair<std::wstring, std::string>>;

const std::string kDataId("\x0F\x80\x06\x00", 4);
const std::string kTitleId("\x10\x80\x01\x00", 4);

// Decodes `tnef` into a folder inside a sandbox; ResultFile starts with one entry of an earlier
// call, which must stay.
struct Decoded {
  bool converted = false;
  std::vector<std::wstring> resultFile{L"earlier.txt"};
};

Decoded Decode(const std::string& tnef, const std::filesystem::path& sandbox, size_t bufferSize,
               vlm::TTNEFConvert::TReading reading) {
  const auto source = sandbox / "winmail.dat";
  vlm::test::WriteFile(source, tnef);
  std::filesystem::create_directory(sandbox / "out");
  Decoded decoded;
  vlm::TTNEFConvert converter(source, bufferSize, reading);
  decoded.converted = converter.Convert(decoded.resultFile, sandbox / "out");
  return decoded;
}

// Only the source and the output folder may exist in the sandbox afterwards.
Files OutputOnly(const std::filesystem::path& sandbox) {
  Files files;
  for (const auto& [name, content] : vlm::test::FolderContents(sandbox)) {
    if (name == L"winmail.dat" || name == L"out") continue;
    if (name.starts_with(L"out/"))
      files.emplace_back(name.substr(4), content);
    else
      files.emplace_back(L"OUTSIDE:" + name, content);
  }
  return files;
}

// Buffers from the smallest the decoder takes to its own, so that records fall across the edges
// of the buffered view at every offset.
const size_t kBufferSizes[] = {8, 9, 13, 64, vlm::TTNEFConvert::kDefaultBufferSize};
// A mapped file is written out from the mapping; a file read through the buffer goes through
// temporary files.
const vlm::TTNEFConvert::TReading kReadings[] = {vlm::TTNEFConvert::TReading::MappedWhenPossible,
                                                 vlm::TTNEFConvert::TReading::Buffered};

// Data records nested `depth` deep, each value being the next record: more values are open at once
// than the decoder writes from its buffer.
std::string NestedData(int depth) {
  std::string record = kDataId + LittleEndian(4) + "leaf";
  for (int i = 1; i < depth; ++i)
    record = kDataId + LittleEndian(static_cast<std::uint32_t>(record.size())) + record;
  return record;
}

Files NestedFiles(int depth) {
  Files files;
  std::string record = NestedData(depth);
  for (int i = 1; i <= depth; ++i) {
    record = record.substr(8);
    files.emplace_back(L"attachment" + std::to_wstring(i), record);
  }
  return files;
}

struct Case {
  const char* what;
  std::string tnef;
  bool converted;
  Files written;  // in file order: ResultFile gains these names in this order
};

TEST(TTNEFConvert, WritesTheAttachmentsTheScanFinds) {
  const std::string inner = kDataId + LittleEndian(3) + "xyz";
  const Case cases[] = {
      {"two attachments, in file order",
       TTnefBuilder().Attachment("b.pdf", "%PDF-1.4").Attachment("a.txt", "alpha").Bytes(),
       true,
       {{L"b.pdf", "%PDF-1.4"}, {L"a.txt", "alpha"}}},
      {"empty data gives an empty file",
       TTnefBuilder().Attachment("empty.bin", "").Bytes(),
       true,
       {{L"empty.bin", ""}}},
      {"empty title gets a numbered name",
       TTnefBuilder().Attachment("", "x").Bytes(),
       true,
       {{L"attachment1", "x"}}},
      {"title of length zero gets a numbered name",
       TTnefBuilder()
           .Rendering()
           .AttributeWithLength(kLevelAttachment, kAttAttachTitle, 0, "")
           .Data("x")
           .Bytes(),
       true,
       {{L"attachment1", "x"}}},
      {"titles pair with data values by order, not by attachment",
       TTnefBuilder().Rendering().Data("one").Attachment("two.txt", "two").Bytes(),
       true,
       {{L"two.txt", "one"}, {L"attachment2", "two"}}},
      {"data before its title",
       TTnefBuilder().Rendering().Data("D").Title("late.txt").Bytes(),
       true,
       {{L"late.txt", "D"}}},
      {"more titles than data values",
       TTnefBuilder().Title("a.txt").Title("b.txt").Data("x").Bytes(),
       true,
       {{L"a.txt", "x"}}},
      {"a data identifier inside a value counts",
       TTnefBuilder().Attachment("outer.bin", "ab" + inner + "cd").Bytes(),
       true,
       {{L"outer.bin", "ab" + inner + "cd"}, {L"attachment2", "xyz"}}},
      {"a title identifier inside a value counts",
       TTnefBuilder()
           .Rendering()
           .Data(kTitleId + LittleEndian(6) + std::string("in.tx\0", 6))
           .Bytes(),
       true,
       {{L"in.tx", kTitleId + LittleEndian(6) + std::string("in.tx\0", 6)}}},
      {"offset 0 is never tested", kDataId + LittleEndian(1) + "z", false, {}},
      {"offset 1 is", "X" + kDataId + LittleEndian(1) + "z", true, {{L"attachment1", "z"}}},
      {"no attAttachData: nothing written", TTnefBuilder().Title("lonely.txt").Bytes(), false, {}},
      {"no attAttachData: titles are not read, not even one past the end",
       TTnefBuilder()
           .Title("lonely.txt")
           .AttributeWithLength(kLevelAttachment, kAttAttachTitle, 5000, "x")
           .Bytes(),
       false,
       {}},
      {"empty file", "", false, {}},
      {"equal titles keep their own content",
       TTnefBuilder()
           .Attachment("a.txt", "1")
           .Attachment("a.txt", "2")
           .Attachment("A.TXT", "3")
           .Bytes(),
       true,
       {{L"a.txt", "1"}, {L"a (2).txt", "2"}, {L"A (3).TXT", "3"}}},
      {"titles that name paths or devices stay bare names in the folder",
       TTnefBuilder()
           .Attachment("../escape.txt", "e")
           .Attachment("C:\\Windows\\evil.dll", "w")
           .Attachment("..", "d")
           .Attachment("con.txt", "c")
           .Attachment("/tmp/abs", "a")
           .Attachment("a\x01?b", "q")
           .Bytes(),
       true,
       {{L".._escape.txt", "e"},
        {L"C__Windows_evil.dll", "w"},
        {L"attachment3", "d"},
        {L"_con.txt", "c"},
        {L"_tmp_abs", "a"},
        {L"a__b", "q"}}},
      {"Japanese title in code page 932",
       TTnefBuilder().Attachment("\x93\xfa\x96\x7b\x8c\xea.txt", "jp").Bytes(),
       true,
       {{L"\u65e5\u672c\u8a9e.txt", "jp"}}},
      {"a title ends at its first zero byte",
       TTnefBuilder()
           .Rendering()
           .Attribute(kLevelAttachment, kAttAttachTitle, std::string("abc\0def\0", 8))
           .Data("v")
           .Bytes(),
       true,
       {{L"abc", "v"}}},
      {"bytes that are not code page 932 text",
       TTnefBuilder().Attachment("\x81.txt", "b").Bytes(),
       true,
       {{L"_.txt", "b"}}},
      {"values nested deeper than the decoder writes at once", "X" + NestedData(12), true,
       NestedFiles(12)},
      // Read through the buffer, data waits in files of such names until it is complete.
      {"titles of the decoder's own temporary files",
       TTnefBuilder()
           .Attachment("~tnef2.part", "one")
           .Attachment("~TNEF1.PART", "two")
           .Attachment("b.txt", "three")
           .Bytes(),
       true,
       {{L"~tnef2 (2).part", "one"}, {L"~TNEF1 (2).PART", "two"}, {L"b.txt", "three"}}},
  };
  for (const auto reading : kReadings) {
    for (const size_t bufferSize : kBufferSizes) {
      for (const auto& c : cases) {
        TScratchFolder sandbox;
        const Decoded decoded = Decode(c.tnef, sandbox.Path(), bufferSize, reading);
        const auto where = [&] {
          return std::string(c.what) + ", buffer " + std::to_string(bufferSize) +
                 (reading == vlm::TTNEFConvert::TReading::Buffered ? ", buffered" : "");
        };
        EXPECT_EQ(decoded.converted, c.converted) << where();
        std::vector<std::wstring> expectedNames{L"earlier.txt"};
        for (const auto& file : c.written) expectedNames.push_back(file.first);
        EXPECT_EQ(decoded.resultFile, expectedNames) << where();
        Files expectedFiles = c.written;
        std::sort(expectedFiles.begin(), expectedFiles.end());
        EXPECT_EQ(OutputOnly(sandbox.Path()), expectedFiles) << where();
      }
    }
  }
}

struct ErrorCase {
  const char* what;
  std::string tnef;
};

// A length that runs past the end of the file stops the conversion before any file is created,
// and no memory is spent on what the length claims.
TEST(TTNEFConvert, RaisesForLengthsPastTheEndAndWritesNothing) {
  const ErrorCase cases[] = {
      {"data length past the end",
       TTnefBuilder()
           .Rendering()
           .Title("big.bin")
           .AttributeWithLength(kLevelAttachment, kAttAttachData, 1000, "short")
           .Bytes()},
      {"data length 0xFFFFFFFF",
       TTnefBuilder()
           .Rendering()
           .Title("huge.bin")
           .AttributeWithLength(kLevelAttachment, kAttAttachData, 0xFFFFFFFF, "x")
           .Bytes()},
      {"data length cut off by the end of the file",
       TTnefBuilder().Title("cut.bin").Raw("\x02" + kDataId + "\x01\x00").Bytes()},
      {"title length past the end",
       TTnefBuilder()
           .Attachment("ok.txt", "ok")
           .AttributeWithLength(kLevelAttachment, kAttAttachTitle, 5000, "x")
           .Bytes()},
      {"a later attachment is malformed",
       TTnefBuilder()
           .Attachment("first.txt", "1")
           .Rendering()
           .Title("second.txt")
           .AttributeWithLength(kLevelAttachment, kAttAttachData, 99999, "2")
           .Bytes()},
  };
  for (const auto& c : cases) {
    TScratchFolder sandbox;
    const auto source = sandbox.Path() / "winmail.dat";
    vlm::test::WriteFile(source, c.tnef);
    std::filesystem::create_directory(sandbox.Path() / "out");
    std::vector<std::wstring> resultFile{L"earlier.txt"};
    vlm::TTNEFConvert converter(source);
    EXPECT_THROW(converter.Convert(resultFile, sandbox.Path() / "out"), vlm::ETNEFConvert)
        << c.what;
    EXPECT_EQ(resultFile, std::vector<std::wstring>{L"earlier.txt"}) << c.what;
    EXPECT_EQ(OutputOnly(sandbox.Path()), Files{}) << c.what;
  }
}

// Records inside records' values, each claiming the rest of the file, would turn a few kilobytes
// into gigabytes; thousands of attachments would freeze the host. Such a file is refused as a
// whole, with its own error, before anything is written.
TEST(TTNEFConvert, RefusesFilesThatWouldGiveTooMuch) {
  std::string nested = kDataId + LittleEndian(4096) + std::string(4096, 'x');
  for (int i = 1; i < 900; ++i)
    nested = kDataId + LittleEndian(static_cast<std::uint32_t>(nested.size())) + nested;
  TTnefBuilder many;
  for (size_t i = 0; i <= vlm::TTNEFConvert::kMaxAttachments; ++i)
    many.Attachment("a" + std::to_string(i), "");
  const ErrorCase cases[] = {
      {"values that claim the rest over and over", "X" + nested},
      {"more attachments than anyone sends", many.Bytes()},
  };
  for (const auto reading : kReadings) {
    for (const auto& c : cases) {
      TScratchFolder sandbox;
      const auto source = sandbox.Path() / "winmail.dat";
      vlm::test::WriteFile(source, c.tnef);
      std::filesystem::create_directory(sandbox.Path() / "out");
      std::vector<std::wstring> resultFile{L"earlier.txt"};
      vlm::TTNEFConvert converter(source, vlm::TTNEFConvert::kDefaultBufferSize, reading);
      EXPECT_THROW(converter.Convert(resultFile, sandbox.Path() / "out"), vlm::ETNEFLimit)
          << c.what;
      EXPECT_EQ(resultFile, std::vector<std::wstring>{L"earlier.txt"}) << c.what;
      EXPECT_EQ(OutputOnly(sandbox.Path()), Files{}) << c.what;
    }
  }
}

// Values larger than the buffer, and records across its edges, in a file of real size.
TEST(TTNEFConvert, CopiesValuesLargerThanItsBuffer) {
  std::string big(3 * vlm::TTNEFConvert::kDefaultBufferSize + 12345, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) % 251);
  TScratchFolder sandbox;
  const std::string tnef =
      TTnefBuilder().Attachment("big.bin", big).Attachment("small.txt", "s").Bytes();
  for (const auto reading : kReadings) {
    const Decoded decoded =
        Decode(tnef, sandbox.Path(), vlm::TTNEFConvert::kDefaultBufferSize, reading);
    EXPECT_EQ(decoded.resultFile,
              (std::vector<std::wstring>{L"earlier.txt", L"big.bin", L"small.txt"}));
    EXPECT_EQ(OutputOnly(sandbox.Path()), (Files{{L"big.bin", big}, {L"small.txt", "s"}}));
  }
}

TEST(TTNEFConvert, RaisesItsOwnErrorWhenFilesCannotBeOpened) {
  TScratchFolder sandbox;
  EXPECT_THROW(vlm::TTNEFConvert(sandbox.Path() / "missing.dat"), vlm::ETNEFConvert);

  const auto source = sandbox.Path() / "winmail.dat";
  vlm::test::WriteFile(source, TTnefBuilder().Attachment("a.txt", "a").Bytes());
  std::vector<std::wstring> resultFile;
  vlm::TTNEFConvert converter(source);
  EXPECT_THROW(converter.Convert(resultFile, sandbox.Path() / "no-such-folder"), vlm::ETNEFConvert);
  EXPECT_TRUE(resultFile.empty());
}

// The work folder may keep files of earlier mails: a file of the same name is replaced as a
// whole, anything else is left alone, a folder in the way of a temporary name too. A folder of
// an attachment's name stops the conversion, and no part of the file is left anywhere.
TEST(TTNEFConvert, ReplacesAFileOfTheSameNameAndLeavesOthersAlone) {
  for (const auto reading : kReadings) {
    TScratchFolder sandbox;
    const auto out = sandbox.Path() / "out";
    std::filesystem::create_directory(out);
    vlm::test::WriteFile(out / "a.txt", "an older and longer content");
    vlm::test::WriteFile(out / "~tnef0.part", "someone else's");
    std::filesystem::create_directory(out / "~tnef1.part");
    const auto source = sandbox.Path() / "winmail.dat";
    vlm::test::WriteFile(source, TTnefBuilder().Attachment("a.txt", "new").Bytes());
    std::vector<std::wstring> resultFile;
    vlm::TTNEFConvert converter(source, vlm::TTNEFConvert::kDefaultBufferSize, reading);
    ASSERT_TRUE(converter.Convert(resultFile, out));
    EXPECT_EQ(vlm::test::FolderContents(out),
              (std::map<std::wstring, std::string>{{L"a.txt", "new"},
                                                   {L"~tnef0.part", "someone else's"},
                                                   {L"~tnef1.part", "<not a file>"}}));

    std::filesystem::create_directory(out / "b.txt");
    vlm::test::WriteFile(source, TTnefBuilder().Attachment("b.txt", "b").Bytes());
    vlm::TTNEFConvert blocked(source, vlm::TTNEFConvert::kDefaultBufferSize, reading);
    EXPECT_THROW(blocked.Convert(resultFile, out), vlm::ETNEFConvert);
    EXPECT_EQ(vlm::test::FolderContents(out),
              (std::map<std::wstring, std::string>{{L"a.txt", "new"},
                                                   {L"b.txt", "<not a file>"},
                                                   {L"~tnef0.part", "someone else's"},
                                                   {L"~tnef1.part", "<not a file>"}}));
  }
}

}  // namespace
