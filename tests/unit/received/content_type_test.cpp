#include "received/content_type.h"

#include <gtest/gtest.h>

namespace vlm {
namespace {

TEST(ContentType, ParametersAsMimeWritesThem) {
  struct Case {
    const char* what;
    std::string_view value;
    std::string type;
    std::optional<std::string> boundary;
  } cases[] = {
      {"quoted", "multipart/mixed; boundary=\"abc\"", "multipart/mixed", "abc"},
      {"bare token", "multipart/mixed; boundary=ABCDE", "multipart/mixed", "ABCDE"},
      {"name in other case", "Multipart/Mixed; Boundary=\"abc\"", "multipart/mixed", "abc"},
      {"upper-case name, bare", "multipart/mixed; BOUNDARY=x1", "multipart/mixed", "x1"},
      {"blanks around =", "multipart/mixed; boundary = \"abc\" ", "multipart/mixed", "abc"},
      {"comments everywhere",
       "multipart/mixed (outer) ; (c1) boundary (c2) = (c3) \"abc\" (c4); charset=x",
       "multipart/mixed", "abc"},
      {"nested comment with a quote", "multipart/mixed; (a (b \\) \") c) boundary=\"q\"",
       "multipart/mixed", "q"},
      {"escapes in a quoted value", "multipart/mixed; boundary=\"a\\\"b\\\\c\"", "multipart/mixed",
       "a\"b\\c"},
      {"blank and specials inside quotes", "multipart/mixed; boundary=\"=_x y;z\"",
       "multipart/mixed", "=_x y;z"},
      {"bare value with '='", "multipart/mixed; boundary=----=_NextPart_000_0001",
       "multipart/mixed", "----=_NextPart_000_0001"},
      {"boundary after other parameters", "multipart/mixed; charset=\"a;b\"; boundary=\"b1\"",
       "multipart/mixed", "b1"},
      {"first of two", "multipart/mixed; boundary=\"one\"; boundary=\"two\"", "multipart/mixed",
       "one"},
      {"unclosed quote", "multipart/mixed; boundary=\"abc", "multipart/mixed", "abc"},
      {"empty parameters and garbage", "multipart/mixed;; junk; =x; boundary=b", "multipart/mixed",
       "b"},
      {"a name that only ends in boundary", "multipart/mixed; xboundary=\"no\"", "multipart/mixed",
       std::nullopt},
      {"in pieces", "multipart/mixed; boundary*0=\"ab\"; boundary*1=cd", "multipart/mixed", "abcd"},
      {"in encoded pieces out of order",
       "multipart/mixed; boundary*1=\"c\"; boundary*0*=us-ascii'en'a%3Db", "multipart/mixed",
       "a=bc"},
      {"behind a Shift_JIS name ending in 0x5C",
       "multipart/mixed; name=\"\x88\xea\x97\x97\x95\x5c\"; boundary=\"b1\"", "multipart/mixed",
       "b1"},
      {"no parameters", "text/plain", "text/plain", std::nullopt},
      {"no type", "; boundary=b", "", "b"},
      {"empty", "", "", std::nullopt},
  };
  for (const auto& c : cases) {
    const TContentType type = ParseContentType(c.value);
    EXPECT_EQ(type.Type, c.type) << c.what;
    EXPECT_EQ(type.Parameter("boundary"), c.boundary) << c.what;
  }
}

TEST(ContentType, NamesInPiecesAreJoinedAndDecoded) {
  struct Case {
    std::string_view value;
    std::string name;
  } cases[] = {
      {"application/pdf; name*0=\"a b\"; name*1=\".pdf\"", "a b.pdf"},
      {"application/pdf; name*=utf-8''%E4%B8%80.pdf", "\xe4\xb8\x80.pdf"},
      {"application/pdf; name=\"\x88\xea\x95\x5c.pdf\"", "\x88\xea\x95\x5c.pdf"},
      {"application/pdf; name=\"whole\"; name*0=\"piece\"", "whole"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseContentType(c.value).Parameter("name"), c.name);
}

}  // namespace
}  // namespace vlm
