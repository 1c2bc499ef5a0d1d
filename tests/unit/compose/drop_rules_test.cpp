// The small rules the drop handling is built from: the threshold text, the password.
#include <gtest/gtest.h>

#include "compose/archive_password.h"
#include "compose/size_rule.h"
#include "base/ansi_text.h"
#include "base/decimal_text.h"

namespace vlm {
namespace {

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
  // No backslash stands right before the closing quote.
  EXPECT_EQ(PasswordSwitch(L"secret\\"), L"-P secret\\");
  EXPECT_EQ(PasswordSwitch(L"pass word\\"), L"-P \"pass word\"\\");
  EXPECT_EQ(PasswordSwitch(L"a\\b c\\\\"), L"-P \"a\\b c\"\\\\");
  EXPECT_EQ(PasswordSwitch(L"\\ \\"), L"-P \"\\ \"\\");
  EXPECT_EQ(ToUtf8(PasswordProblem(L"")), "何も記入されていません。");
  EXPECT_FALSE(PasswordProblem(L"a\"b").empty());
  EXPECT_TRUE(PasswordProblem(L"パス word").empty());
}

TEST(DropPasswordTest, EveryCharacterMustHaveAnExactFormInCodePage932) {
  const auto refused = [](const std::string& character) {
    return "パスワードに使えない文字「" + character +
           "」が含まれています。コードページ 932 で表せる文字だけを使ってください。";
  };
  const struct {
    const char* password;  // UTF-8
    std::string problem;
  } cases[] = {
      {"plain ASCII 123 !#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", ""},
      {"かなカナ漢字ｶﾅ①", ""},
      {"café", refused("é")},
      {"naïve résumé", refused("ï")},  // the first one is named
      {"pass\U0001F511word", refused("\U0001F511")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(PasswordProblem(FromUtf8(c.password))), c.problem) << c.password;
  }
}

}  // namespace
}  // namespace vlm
