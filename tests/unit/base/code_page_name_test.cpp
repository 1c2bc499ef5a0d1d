// Names for the code page: what fits stays, the rest becomes the nearest name it holds. The
// native build has no best-fit table, so what does not fit exactly becomes "_" here; Windows
// first tries its best-fit form (the scenario drop_wide_names shows "résumé" as "resume").
#include <gtest/gtest.h>

#include "base/ansi_text.h"
#include "base/code_page_name.h"

namespace vlm {
namespace {

TEST(CodePageNameTest, NearestNameFitsTheCodePageAndIsAFileName) {
  struct Case {
    const wchar_t* name;
    const wchar_t* nearest;
  } cases[] = {
      {L"plain.pdf", L"plain.pdf"},
      {L"資料 ｶﾀｶﾅ ①.xlsx", L"資料 ｶﾀｶﾅ ①.xlsx"},  // 932 holds these exactly
      {L"r\u00e9sum\u00e9.pdf", L"r_sum_.pdf"},
      {L"\U0001F600 smile.txt", L"_ smile.txt"},
      {L"\u00e9", L"_"},
      {L"name\u00e9.", L"name__"},  // no trailing dot Windows would drop
      {L"", L"_"},
  };
  for (const Case& c : cases) {
    const std::wstring nearest = NearestCodePageName(c.name);
    EXPECT_EQ(nearest, c.nearest) << ToUtf8(c.name);
    EXPECT_TRUE(FitsCodePage(nearest)) << ToUtf8(c.name);
  }
  EXPECT_TRUE(FitsCodePage(L"C:\\資料\\plain.pdf"));
  EXPECT_FALSE(FitsCodePage(L"C:\\Jos\u00e9\\plain.pdf"));
}

TEST(CodePageNameTest, NumberedNamesKeepTheExtension) {
  EXPECT_EQ(NumberedName(L"resume.pdf", 2), L"resume (2).pdf");
  EXPECT_EQ(NumberedName(L"archive.tar.gz", 3), L"archive.tar (3).gz");
  EXPECT_EQ(NumberedName(L"folder", 2), L"folder (2)");
  EXPECT_EQ(NumberedName(L".profile", 2), L".profile (2)");
}

}  // namespace
}  // namespace vlm
