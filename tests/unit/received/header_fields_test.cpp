#include "received/header_fields.h"

#include <gtest/gtest.h>

namespace vlm {
namespace {

TEST(HeaderFields, UnfoldedAndFoundWithoutRegardToCase) {
  const std::string source =
      "content-type: text/plain;\r\n\tcharset=\"ISO-2022-JP\"\r\nMessage-ID:  <a@b> \r\n"
      "X-Velmora: Setattach\r\n\r\nContent-Transfer-Encoding: 7bit\r\n";
  const TLineList lines = SplitLines(source);
  const size_t end = HeaderEnd(lines);
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(HeaderField(lines, end, "Content-Type"), "text/plain; charset=\"ISO-2022-JP\"");
  EXPECT_EQ(HeaderField(lines, end, "Message-ID"), "<a@b>");
  EXPECT_EQ(HeaderField(lines, end, "Content-Transfer-Encoding"), std::nullopt);
  EXPECT_EQ(FindHeaderField(lines, end, "Content-Type").End, 2u);
}

}  // namespace
}  // namespace vlm
