#include "tests/host/codec/iso2022jp.h"

#include <gtest/gtest.h>

#include "tests/host/codec/unit/iconv_text.h"

namespace hostcodec {
namespace {

using vlm::test::Iconv;

std::string Cp932(std::string_view utf8) {
  return *Iconv("CP932", "UTF-8", utf8);
}

TEST(Iso2022JpToCp932, EveryJisX0208CharacterBecomesItsShiftJisCharacter) {
  int compared = 0;
  for (int first = 0x21; first <= 0x7e; ++first) {
    for (int second = 0x21; second <= 0x7e; ++second) {
      const std::string jis = {
          '\x1b', '$', 'B', static_cast<char>(first), static_cast<char>(second), '\x1b', '(', 'B'};
      const auto reference = Iconv("CP932", "ISO-2022-JP", jis);
      if (!reference) continue;  // unassigned, or no code page 932 form
      ++compared;
      EXPECT_EQ(Iso2022JpToCp932(jis), *reference) << std::hex << first << " " << second;
    }
  }
  EXPECT_GT(compared, 6800);
}

TEST(Iso2022JpToCp932, FollowsTheEscapesAndPassesOtherTextOn) {
  struct Case {
    const char* name;
    std::string input;
    std::string output;
  };
  const Case cases[] = {
      {"ASCII", "Subject: hello\r\n", "Subject: hello\r\n"},
      {"JIS X 0208 and back", "a\x1b$B$\"$$\x1b(Bb", "a" + Cp932("あい") + "b"},
      {"JIS C 6226 escape", "\x1b$@4A;z\x1b(B", Cp932("漢字")},
      {"JIS Roman", "\x1b(Jx\x1b(By", "xy"},
      {"half-width katakana by escape", "\x1b(I12\x1b(B3", Cp932("ｱｲ") + "3"},
      {"half-width katakana by SO and SI",
       "\x0e"
       "12\x0f"
       "3",
       Cp932("ｱｲ") + "3"},
      {"a line break returns to ASCII", "\x1b$B$\"\r\n$\"", Cp932("あ") + "\r\n$\""},
      {"8-bit bytes stay", "\x82\xa0\xff", "\x82\xa0\xff"},
      {"unknown escape stays", "\x1b$(Dab", "\x1b$(Dab"},
      {"lone byte in two-byte mode", "\x1b$B$\"$", Cp932("あ") + "$"},
      {"space in two-byte mode", "\x1b$B$\" $\"", Cp932("あ") + " " + Cp932("あ")},
      {"truncated escape", "ab\x1b$", "ab\x1b$"},
  };
  for (const Case& c : cases) EXPECT_EQ(Iso2022JpToCp932(c.input), c.output) << c.name;
}

TEST(Iso2022JpToCp932, DecodesWhatIconvEncodes) {
  const std::string text =
      "件名: 添付ファイルの確認（第２版）\r\n「資料」を送付します。ー・〒\r\nend";
  const auto jis = Iconv("ISO-2022-JP", "UTF-8", text);
  ASSERT_TRUE(jis);
  EXPECT_EQ(Iso2022JpToCp932(*jis), Cp932(text));
}

}  // namespace
}  // namespace hostcodec
