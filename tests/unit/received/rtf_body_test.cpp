#include "received/rtf_body.h"

#include <gtest/gtest.h>

#include <string>

#include "base/ansi_text.h"

namespace vlm {
namespace {

using TKind = TRtfBody::TKind;

// An HTML mail from a Japanese Outlook, cut down: the header names code page 932 and a font of
// character set 128, the markup sits in \htmltag groups, the RTF that renders it in \htmlrtf
// ranges, and the text is written as \'xx pairs and as \uN with \ucN fallbacks.
constexpr std::string_view kJapaneseHtml =
    "{\\rtf1\\ansi\\ansicpg932\\fromhtml1 \\fbidis \\deff0{\\fonttbl\r\n"
    "{\\f0\\fswiss\\fcharset128 \\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62"
    "\\'83\\'4e;}\r\n"
    "{\\f1\\fmodern\\fcharset0 Courier New;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\\red5\\green99\\blue193;}\r\n"
    "{\\*\\generator Microsoft Exchange Server;}\r\n"
    "\\uc1\\pard\\plain\\deftab360 \\f0\\fs24 \r\n"
    "{\\*\\htmltag19 <html>}\r\n"
    "{\\*\\htmltag34 <head>}\r\n"
    "{\\*\\htmltag1 \\par }\r\n"
    "{\\*\\htmltag241 <style>p \\{margin:0mm;\\}\\par\\tab a\\\\b</style>}\r\n"
    "{\\*\\htmltag41 </head>}\r\n"
    "{\\*\\htmltag50 <body lang=JA>}\\htmlrtf \\lang1041 \\htmlrtf0 \r\n"
    "{\\*\\htmltag64 <p>}\\htmlrtf {\\htmlrtf0 \\'93\\'fa\\'96\\'7b\\'8c\\'ea\\htmlrtf\\par\r\n"
    "}\\htmlrtf0 \r\n"
    "{\\*\\htmltag72 </p>}\r\n"
    "{\\*\\htmltag64 <p>}\\u26085?{\\uc0\\u26412}\\uc2\\u35486\\'8c\\'ea \\'95\\'5c"
    "{\\*\\htmltag84 <a href=\"http://example.jp/a\">}"
    "{\\*\\mhtmltag84 <a href=\"cid:part1\">}\\htmlrtf {\\field{\\*\\fldinst HYPERLINK}"
    "{\\fldrslt\\ul\\htmlrtf0 link\\htmlrtf }}\\htmlrtf0 "
    "{\\*\\htmltag92 </a>}\\~\\lquote x\\rquote \\u-10179?\\u-8694?"
    "{\\*\\htmltag72 </p>}\r\n"
    "{\\*\\htmltag58 </body>}\r\n"
    "{\\*\\htmltag27 </html>}}";

constexpr std::string_view kJapaneseHtmlText =
    "<html><head>\r\n<style>p {margin:0mm;}\r\n\ta\\b</style></head><body lang=JA><p>日本語</p>"
    "<p>日本語 表<a href=\"http://example.jp/a\">link</a>\u00A0‘x’\U0001F60A</p></body></html>";

// What a plain-text mail becomes.
constexpr std::string_view kJapaneseText =
    "{\\rtf1\\ansi\\ansicpg932\\fromtext \\fbidis \\deff0{\\fonttbl\r\n"
    "{\\f0\\fswiss\\fcharset128 MS PGothic;}}\r\n"
    "{\\*\\generator Microsoft Exchange Server;}\r\n"
    "\\uc1\\pard\\plain\\f0 \\'82\\'b1\\'82\\'f1\\'82\\'c9\\'82\\'bf\\'82\\'cd\\par\r\n"
    "line 2\\tab x \\{y\\}\\par\r\n"
    "\\'83\\'65\\'83\\'58\\'83\\'67\\par\r\n}";

// Each font's character set names the code page of its text, whatever \ansicpgN says.
constexpr std::string_view kFontCodePages =
    "{\\rtf1\\ansi\\ansicpg1252\\fromtext \\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
    "{\\f1\\fnil\\fcharset128 MS Gothic;}{\\f2\\fnil\\fcharset204 Arial Cyr;}}"
    "\\pard caf\\'e9 {\\f1 \\'93\\'fa\\'96\\'7b} \\f2 \\'cf\\'f0\\'e8\\f0 \\'e9\\par}";

TEST(RtfBody, TakesOutWhatTheBodyCarries) {
  struct Case {
    const char* name;
    std::string_view rtf;
    TKind kind;
    std::string_view text;  // UTF-8
  } cases[] = {
      {"Japanese HTML", kJapaneseHtml, TKind::Html, kJapaneseHtmlText},
      {"Japanese text", kJapaneseText, TKind::Text, "こんにちは\r\nline 2\tx {y}\r\nテスト\r\n"},
      {"code page of each font", kFontCodePages, TKind::Text, "café 日本 Приé\r\n"},
      {"binary data skipped", "{\\rtf1\\fromtext a\\bin3 {}}b}", TKind::Text, "ab"},
  };
  for (const auto& c : cases) {
    const TRtfBody body = ReadRtfBody(c.rtf);
    EXPECT_EQ(body.Kind, c.kind) << c.name;
    EXPECT_EQ(body.Text, FromUtf8(c.text)) << c.name;
  }
}

std::string Nested(int depth) {
  return "{\\rtf1\\fromtext " + std::string(depth, '{') + "a" + std::string(depth + 1, '}');
}

TEST(RtfBody, KeepsAsRtfWhatCarriesNoHtmlOrText) {
  const std::string cases[] = {
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard Hello\\par}",
      "{\\rtf1\\ansi Hello \\fromhtml1 }",  // not in the header
      "{\\rtf1\\ansi{\\fromtext} Hello}",   // not at the document's level
      "{\\rtf1\\ansi\\fromhtml0 Hello}",    // not the version of encapsulation read
      "Hello \\fromtext",                   // no RTF
      "",
      Nested(1000),
  };
  for (const auto& rtf : cases) {
    const TRtfBody body = ReadRtfBody(rtf);
    EXPECT_EQ(body.Kind, TKind::Rtf) << rtf;
    EXPECT_EQ(body.Text, L"") << rtf;
  }
  EXPECT_EQ(ReadRtfBody(Nested(998)).Text, L"a");
}

}  // namespace
}  // namespace vlm
