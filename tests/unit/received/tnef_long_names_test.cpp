// Attachments named by the long name in their property block, as the sender's file was called,
// instead of the 8.3 title; 8-bit names read in the sender's code page; names the file system
// takes for one file numbered apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "received/tnef_convert.h"
#include "tests/support/little_endian.h"
#include "tests/support/scratch_folder.h"
#include "tests/unit/received/tnef_builder.h"

namespace vlm {
namespace {

using test::TPropertyBlock;
using test::TTnefBuilder;

struct TDecoded {
  std::vector<std::wstring> names;
  std::vector<std::string> mimeTags;
  std::vector<std::string> contents;
};

TDecoded Decode(const std::string& tnef, bool longNames = true) {
  test::TScratchFolder folder;
  test::WriteFile(folder.Path() / "winmail.dat", tnef);
  std::filesystem::create_directory(folder.Path() / "out");
  TTNEFConvert converter(folder.Path() / "winmail.dat");
  converter.SetLongFileNames(longNames);
  TDecoded decoded;
  converter.Convert(decoded.names, folder.Path() / "out");
  decoded.mimeTags = converter.MimeTags();
  for (const auto& name : decoded.names)
    decoded.contents.push_back(
        test::ReadFile(folder.Path() / "out" / std::filesystem::path(ToUtf8(name))));
  return decoded;
}

std::wstring U(const char* utf8) {
  return FromUtf8(utf8);
}

TEST(TNEFLongNames, NameFromThePropertyBlock) {
  const std::u16string japanese = u"報告書_2024年度.xlsx";
  const std::string cyrillic1251 = "2017.03.26 \xCE\xF2\xF7\xB8\xF2-2.docx";  // in code page 1251
  struct Case {
    const char* what;
    std::string tnef;
    std::vector<std::wstring> names;
    std::vector<std::string> mimeTags;
  } cases[] = {
      {"Japanese Unicode name, 8.3 title",
       TTnefBuilder()
           .Attachment("2024~1.XLS", "sheet")
           .Properties(TPropertyBlock().Unicode(TPropertyBlock::kLongFileName, japanese).Bytes())
           .Bytes(),
       {U("報告書_2024年度.xlsx")},
       {""}},
      {"8-bit name in the sender's code page 1251",
       TTnefBuilder(1251)
           .Attachment("201703~1.doc", "doc")
           .Properties(
               TPropertyBlock().String8(TPropertyBlock::kLongFileName, cyrillic1251).Bytes())
           .Bytes(),
       {U("2017.03.26 Отчёт-2.docx")},
       {""}},
      {"Unicode before 8-bit, whatever their order",
       TTnefBuilder()
           .Attachment("LONGNA~1.TXT", "t")
           .Properties(TPropertyBlock()
                           .String8(TPropertyBlock::kLongFileName, "eight-bit.txt")
                           .Unicode(TPropertyBlock::kLongFileName, u"unicode.txt")
                           .Bytes())
           .Bytes(),
       {L"unicode.txt"},
       {""}},
      {"named, multi-valued and fixed properties stepped over; MIME tag kept",
       TTnefBuilder()
           .Attachment("REPORT~1.BIN", "r")
           .Properties(TPropertyBlock()
                           .Long(0x0E20, 1)
                           .NamedText(u"Keywords", "x")
                           .Longs(0x1234, {1, 2, 3})
                           .String8(TPropertyBlock::kMimeTag, "application/x-report")
                           .String8(TPropertyBlock::kLongFileName, "report 2024.bin")
                           .Bytes())
           .Bytes(),
       {L"report 2024.bin"},
       {"application/x-report"}},
      {"each attachment its own block, data before title",
       TTnefBuilder()
           .Rendering()
           .Data("one")
           .Title("ONE~1.TXT")
           .Properties(
               TPropertyBlock().String8(TPropertyBlock::kLongFileName, "first one.txt").Bytes())
           .Rendering()
           .Data("two")
           .Title("TWO~1.TXT")
           .Bytes(),
       {L"first one.txt", L"TWO~1.TXT"},
       {"", ""}},
      {"a long name that is a path",
       TTnefBuilder()
           .Attachment("EVIL~1.TXT", "e")
           .Properties(TPropertyBlock()
                           .String8(TPropertyBlock::kLongFileName, "..\\..\\Windows\\evil.txt")
                           .Bytes())
           .Bytes(),
       {L".._.._Windows_evil.txt"},
       {""}},
      {"an unusable long name leaves the title",
       TTnefBuilder()
           .Attachment("DOTS~1.TXT", "d")
           .Properties(TPropertyBlock().String8(TPropertyBlock::kLongFileName, "..").Bytes())
           .Bytes(),
       {L"DOTS~1.TXT"},
       {""}},
      {"a block cut short leaves the title",
       TTnefBuilder()
           .Attachment("CUT~1.TXT", "c")
           .Properties(TPropertyBlock()
                           .String8(TPropertyBlock::kLongFileName, "never read.txt")
                           .Bytes()
                           .substr(0, 14))
           .Bytes(),
       {L"CUT~1.TXT"},
       {""}},
      {"a block claiming a huge length",
       TTnefBuilder()
           .Attachment("HUGE~1.TXT", "h")
           .Properties(test::LittleEndian(1) + test::LittleEndian(0x3707001E) +
                       test::LittleEndian(1) + test::LittleEndian(0xFFFFFFF0))
           .Bytes(),
       {L"HUGE~1.TXT"},
       {""}},
  };
  for (const auto& c : cases) {
    const TDecoded decoded = Decode(c.tnef);
    EXPECT_EQ(decoded.names, c.names) << c.what;
    EXPECT_EQ(decoded.mimeTags, c.mimeTags) << c.what;
  }
  // Long names off: the titles, exactly as before.
  EXPECT_EQ(Decode(cases[0].tnef, false).names, std::vector<std::wstring>{L"2024~1.XLS"});
  EXPECT_EQ(Decode(cases[0].tnef, false).mimeTags, std::vector<std::string>{""});
}

TEST(TNEFLongNames, NamesTheFileSystemTakesForOneAreNumbered) {
  struct Case {
    const char* what;
    std::vector<std::u16string> names;
    std::vector<std::wstring> expected;
  } cases[] = {
      {"ASCII case", {u"Report.PDF", u"report.pdf"}, {L"Report.PDF", L"report (2).pdf"}},
      {"Latin letters beyond ASCII", {u"ä.pdf", u"Ä.pdf"}, {U("ä.pdf"), U("Ä (2).pdf")}},
      {"full-width letters", {u"ａ.txt", u"Ａ.txt"}, {U("ａ.txt"), U("Ａ (2).txt")}},
      {"Cyrillic", {u"отчёт.doc", u"ОТЧЁТ.doc"}, {U("отчёт.doc"), U("ОТЧЁТ (2).doc")}},
      {"different letters stay apart", {u"ä.pdf", u"a.pdf"}, {U("ä.pdf"), L"a.pdf"}},
      // Headers carry the code-page name: names that differ may meet there.
      {"one name in the code page", {u"กข.txt", u"คง.txt"}, {U("กข.txt"), U("คง (2).txt")}},
      {"a code-page name taken first",
       {u"Résumé.pdf", u"R_sum_.pdf"},
       {U("Résumé.pdf"), L"R_sum_ (2).pdf"}},
  };
  for (const auto& c : cases) {
    TTnefBuilder tnef;
    for (size_t i = 0; i < c.names.size(); ++i)
      tnef.Attachment("X~" + std::to_string(i) + ".BIN", "content " + std::to_string(i))
          .Properties(TPropertyBlock().Unicode(TPropertyBlock::kLongFileName, c.names[i]).Bytes());
    const TDecoded decoded = Decode(tnef.Bytes());
    EXPECT_EQ(decoded.names, c.expected) << c.what;
    ASSERT_EQ(decoded.contents.size(), c.names.size()) << c.what;
    for (size_t i = 0; i < c.names.size(); ++i)
      EXPECT_EQ(decoded.contents[i], "content " + std::to_string(i)) << c.what;
  }
}

}  // namespace
}  // namespace vlm
