#include "tests/host/codec/mime_header.h"

#include <gtest/gtest.h>

#include "tests/host/codec/unit/iconv_text.h"
#include "tests/support/base64.h"

namespace hostcodec {
namespace {

using vlm::test::EncodeBase64;
using vlm::test::Iconv;
using vlm::test::Utf8ToCp932Iconv;

std::string Cp932(std::string_view utf8) {
  return *Iconv("CP932", "UTF-8", utf8);
}
std::string Jis(std::string_view utf8) {
  return *Iconv("ISO-2022-JP", "UTF-8", utf8);
}

std::string B(std::string_view charset, std::string_view bytes) {
  return "=?" + std::string(charset) + "?B?" + EncodeBase64(bytes) + "?=";
}

TEST(DecodeMimeHeader, DecodesEncodedWordsIntoCodePage932) {
  struct Case {
    const char* name;
    std::string header;
    std::string text;
  };
  const std::string jisWord = B("ISO-2022-JP", Jis("添付"));
  const std::string utf8 = "送付の件";
  const Case cases[] = {
      {"plain text", "Subject: hello", "Subject: hello"},
      {"ISO-2022-JP in B", "Subject: " + jisWord, Cp932("Subject: 添付")},
      {"lower-case names", "=?iso-2022-jp?b?" + EncodeBase64(Jis("添付")) + "?=", Cp932("添付")},
      {"Shift_JIS in B", B("Shift_JIS", Cp932("資料")), Cp932("資料")},
      {"UTF-8 in B", B("UTF-8", utf8), Cp932(utf8)},
      {"UTF-8 with a language", B("utf-8*ja", utf8), Cp932(utf8)},
      {"B without padding", "=?UTF-8?B?" + EncodeBase64("ab").substr(0, 3) + "?=", "ab"},
      {"Q with underscores and hex", "=?UTF-8?Q?a_b=3D=e6=b7=bb=E4=BB=98?=", Cp932("a b=添付")},
      {"Q in ISO-2022-JP", "=?ISO-2022-JP?Q?=1B$BE:IU=1B(B?=", Cp932("添付")},
      {"ISO-8859-1", "=?ISO-8859-1?Q?caf=E9?=", Utf8ToCp932Iconv("café")},
      {"whitespace between words dropped", jisWord + " \r\n\t" + jisWord, Cp932("添付添付")},
      {"whitespace around words kept", "a " + jisWord + " b", Cp932("a 添付 b")},
      {"text between words kept", jisWord + " x " + jisWord, Cp932("添付 x 添付")},
      {"a UTF-8 character split across words",
       B("UTF-8", utf8.substr(0, 4)) + " " + B("UTF-8", utf8.substr(4)), Cp932(utf8)},
      {"words of two charsets", B("UTF-8", "a") + " " + B("Shift_JIS", Cp932("字")), Cp932("a字")},
      {"unknown charset left", "=?KOI8-R?B?wcI=?= x", "=?KOI8-R?B?wcI=?= x"},
      {"bad base64 left", "=?UTF-8?B?@@?=", "=?UTF-8?B?@@?="},
      {"unknown encoding left", "=?UTF-8?X?ab?=", "=?UTF-8?X?ab?="},
      {"unclosed word left", "=?UTF-8?B?YWI=", "=?UTF-8?B?YWI="},
      {"space inside a word", "=?UTF-8?Q?a b?=", "=?UTF-8?Q?a b?="},
      {"a bad word before a good one", "=?x " + B("UTF-8", "ok"), "=?x ok"},
      {"unmappable UTF-8 replaced", B("UTF-8", "a😀b"), "a?b"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecodeMimeHeader(c.header, Utf8ToCp932Iconv).text, c.text) << c.name;
}

TEST(DecodeMimeHeader, NamesTheCharsetOfTheFirstDecodedWord) {
  EXPECT_EQ(
      DecodeMimeHeader("x " + B("utf-8", "a") + B("Shift_JIS", "b"), Utf8ToCp932Iconv).charset,
      "utf-8");
  EXPECT_EQ(DecodeMimeHeader("plain", Utf8ToCp932Iconv).charset, "");
}

}  // namespace
}  // namespace hostcodec
