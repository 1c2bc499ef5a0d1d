#include "received/message_lines.h"

#include <gtest/gtest.h>

namespace vlm {

namespace {

TEST(TLineWriter, TextLinesEndEveryLineWithCrLf) {
  const std::string longLine(40, 'x');
  struct Case {
    std::string text;
    std::string written;
  } cases[] = {
      {"", ""},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\r\nb", "a\r\nb\r\n"},
      {"a\nb\rc\r\nd\r\n", "a\r\nb\r\nc\r\nd\r\n"},
      {"a\r\n\r\n\nb\r\r\n", "a\r\n\r\n\r\nb\r\n\r\n"},
      {longLine + "\r\n" + longLine + "\n" + longLine + "\r\n",
       longLine + "\r\n" + longLine + "\r\n" + longLine + "\r\n"},
  };
  for (const Case& c : cases) {
    TLineWriter text, counter = TLineWriter::Counting();
    text.TextLines(c.text);
    counter.TextLines(c.text);
    EXPECT_EQ(text.Text(), c.written) << c.text;
    EXPECT_EQ(counter.Size(), c.written.size()) << c.text;
  }
}

}  // namespace
}  // namespace vlm
