#include "received/message_view.h"

#include <gtest/gtest.h>

namespace vlm {
namespace {

TEST(MessageView, HeaderEndTypeAndLines) {
  struct Case {
    const char* what;
    std::string_view source;
    size_t headerEnd;
    size_t headerLines;
    std::string type;
  } cases[] = {
      {"single part", "Subject: s\r\nContent-Type: Text/Plain\r\n\r\nbody\r\n", 2, 2, "text/plain"},
      {"no content type", "Subject: s\r\n\r\nContent-Type: text/html\r\n", 1, 1, ""},
      {"header without end", "Subject: s\r\nContent-Type: text/html\r\n", kNoLine, 2, "text/html"},
      {"no header", "\r\nbody\r\n", 0, 0, ""},
  };
  for (const auto& c : cases) {
    const TMessageView view = ViewMessage(c.source);
    EXPECT_EQ(view.Text, c.source) << c.what;
    EXPECT_EQ(view.Lines, SplitLines(c.source)) << c.what;
    EXPECT_EQ(view.HeaderEnd, c.headerEnd) << c.what;
    EXPECT_EQ(view.HeaderLineCount(), c.headerLines) << c.what;
    EXPECT_EQ(view.Type.Type, c.type) << c.what;
  }
}

TEST(MessageView, MessageBoundaryComesFromTheHeaderFieldOnly) {
  struct Case {
    const char* what;
    std::string_view source;
    std::string boundary;
  } cases[] = {
      {"one line", "Content-Type: multipart/mixed; boundary=\"abc\"\r\n\r\nx\r\n", "abc"},
      {"folded", "Content-Type: multipart/mixed;\r\n\tboundary=\"=_x y\"\r\n\r\n", "=_x y"},
      {"folded before the =", "Content-Type: multipart/mixed; boundary\r\n =\r\n \"f\"\r\n\r\n",
       "f"},
      {"unquoted", "Content-Type: multipart/mixed; boundary=abc\r\n\r\n", "abc"},
      {"name in upper case", "content-type: multipart/mixed; BOUNDARY=\"abc\"\r\n\r\n", "abc"},
      {"other field holds one",
       "X-A: b;\r\n\tboundary=\"one\"\r\nContent-Type: multipart/mixed;"
       " boundary=\"two\"\r\n\r\n",
       "two"},
      {"only below the header", "Subject: x\r\n\r\nContent-Type: multipart/mixed; boundary=n\r\n",
       ""},
      {"not multipart", "Content-Type: text/plain; boundary=\"b\"\r\n\r\n", ""},
      {"empty quotes", "Content-Type: multipart/mixed;\r\n\tboundary=\"\r\n\r\n", ""},
      {"more parameters behind", "Content-Type: multipart/mixed;\r\n\tboundary=\"b1\"; x=y\r\n\r\n",
       "b1"},
      {"header without end", "Content-Type: multipart/mixed; boundary=b\r\n", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ViewMessage(c.source).Boundary, c.boundary) << c.what;
}

// A list footer may add a second closing delimiter; readers end the parts at the first.
TEST(MessageView, ClosingDelimiterIsTheFirstLineBeginningWithIt) {
  const TLineList lines =
      SplitLines("--b\r\nx\r\nepilogue --b--\r\n--b--  \r\nfooter\r\n--b--\r\n");
  EXPECT_EQ(FindClosingDelimiter(lines, "b"), 3u);
  EXPECT_EQ(FindClosingDelimiter(SplitLines("--b\r\nb--\r\n"), "b"), kNoLine);
  EXPECT_EQ(ClosingDelimiter("B"), "--B--");
}

TEST(MessageView, SpanKeepsEachLineBreakAsItStands) {
  const TMessageView view = ViewMessage("a\nb\rc\r\nd");
  EXPECT_EQ(view.Span(0, 2), "a\nb\r");
  EXPECT_EQ(view.Span(1, 4), "b\rc\r\nd");
  EXPECT_EQ(view.Span(3, 4), "d");
  EXPECT_EQ(view.Span(4, 4), "");
}

}  // namespace
}  // namespace vlm
