// The small rules the drop handling is built from: path parts, the threshold text, the password.
#include <gtest/gtest.h>

#include "compose/archive_password.h"
#include "compose/item_path.h"
#include "compose/size_rule.h"
#include "base/ansi_text.h"
#include "base/decimal_text.h"

namespace vlm {
namespace {

TEST(DropPathTest, PartsSplitAtBackslashAndColonWithTheLastExtension) {
  struct Case {
    std::wstring path, name, extension, zipped, folder;
  } cases[] = {
      {L"C:\\work\\report.pdf", L"report.pdf", L".pdf", L"C:\\work\\report.zip", L"C:\\work"},
      {L"C:\\work\\report.tar.gz", L"report.tar.gz", L".gz", L"C:\\work\\report.tar.zip",
       L"C:\\work"},
      {L"C:\\work\\Makefile", L"Makefile", L"", L"C:\\work\\Makefile.zip", L"C:\\work"},
      {L"C:\\my.dir\\Makefile", L"Makefile", L"", L"C:\\my.dir\\Makefile.zip", L"C:\\my.dir"},
      {L"C:\\p\\Photos.ZIP", L"Photos.ZIP", L".zip", L"C:\\p\\Photos.zip", L"C:\\p"},
      {L"C:\\work\\docs", L"docs", L"", L"C:\\work\\docs.zip", L"C:\\work"},
      {L"C:\\", L"", L"", L"C:\\.zip", L"C:\\"},
      {L"D:\\Photos", L"Photos", L"", L"D:\\Photos.zip", L"D:\\"},  // not "D:", D's current folder
      {L"\\\\server\\share\\docs", L"docs", L"", L"\\\\server\\share\\docs.zip",
       L"\\\\server\\share"},
      {L"D:name.txt", L"name.txt", L".txt", L"D:name.zip", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path));
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(LowerExtension(c.path), c.extension);
    EXPECT_EQ(ChangeExtension(c.path, L".zip"), c.zipped);
    EXPECT_EQ(FolderPart(c.path), c.folder);
  }
}

TEST(DropThresholdTest, DecimalTextInTheUsersLocale) {
  struct Case {
    std::wstring text;
    wchar_t separator;
    std::optional<double> value;
  } cases[] = {
      {L"1", L'.', 1.0},     {L"2.5", L'.', 2.5},  {L"2,5", L',', 2.5},
      {L"2,5", L'.', {}},    {L"2.5", L',', {}},   {L" 3 ", L'.', 3.0},
      {L"-1", L'.', -1.0},   {L"+4", L'.', 4.0},   {L".5", L'.', 0.5},
      {L"5.", L'.', 5.0},    {L"1e1", L'.', 10.0}, {L"1e", L'.', {}},
      {L"abc", L'.', {}},    {L"", L'.', {}},      {L".", L'.', {}},
      {L"1 000", L'.', {}},  {L"1,000", L'.', {}}, {L"0x10", L'.', {}},
      {L"1e999", L'.', {}},  {L"１", L'.', {}},  // full-width digits are not digits here
      {L"１０", L'.', {}},   {L"١٠", L'.', {}},    {L"1e400", L'.', {}},
      {L"\t2\t", L'.', 2.0}, {L"-0", L'.', 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(ParseDecimal(c.text, c.separator), c.value);
  }
  EXPECT_EQ(OverSizeThreshold(L"abc", L'.'), 1.0);
  EXPECT_EQ(OverSizeThreshold(L"0", L'.'), 0.0);
}

TEST(DropPasswordTest, SwitchIsQuotedOnlyWhenTheCommandLineWouldSplitIt) {
  EXPECT_EQ(PasswordSwitch(L"secret"), L"-P secret");
  EXPECT_EQ(PasswordSwitch(L"two words"), L"-P \"two words\"");
  EXPECT_EQ(PasswordSwitch(L"tab\there"), L"-P \"tab\there\"");
  EXPECT_EQ(ToUtf8(PasswordProblem(L"")), "何も記入されていません。");
  EXPECT_FALSE(PasswordProblem(L"a\"b").empty());
  EXPECT_TRUE(PasswordProblem(L"パス word").empty());
}

}  // namespace
}  // namespace vlm
