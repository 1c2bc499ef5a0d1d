#include "received/marker_field.h"

#include <gtest/gtest.h>

namespace vlm {
namespace {

std::string MarkedHeader(std::string_view header, std::string_view word) {
  const TMessageView message = ViewMessage(header);
  TLineWriter out;
  WriteMarkedHeader(out, message, message.Lines.size(), word);
  return out.Take();
}

TEST(MarkerField, OneFieldRewrittenInPlace) {
  struct Case {
    const char* what;
    std::string_view header;
    std::string_view word;
    std::string expected;
  } cases[] = {
      {"none yet", "From: a\r\nSubject: s\r\n", kMarkerExpanded,
       "From: a\r\nSubject: s\r\nX-Velmora: Settlement\r\n"},
      {"a file added to an expanded message", "From: a\r\nX-Velmora: Settlement\r\nSubject: s\r\n",
       kMarkerFileAdded, "From: a\r\nX-Velmora: Settlement Setattach\r\nSubject: s\r\n"},
      {"expanded after a file was added", "X-Velmora: Setattach\r\nSubject: s\r\n", kMarkerExpanded,
       "X-Velmora: Settlement Setattach\r\nSubject: s\r\n"},
      {"a second file", "X-Velmora: Settlement Setattach\r\n", kMarkerFileAdded,
       "X-Velmora: Settlement Setattach\r\n"},
      {"several fields become the first",
       "X-Velmora: Setattach\r\nA: b\r\nX-Velmora: Settlement\r\n", kMarkerFileAdded,
       "X-Velmora: Settlement Setattach\r\nA: b\r\n"},
      {"folded, other case, other words", "x-velmora: Setattach\r\n\tother\r\nB: c\r\n",
       kMarkerExpanded, "X-Velmora: Settlement Setattach other\r\nB: c\r\n"},
      {"a field that only begins alike", "X-Velmora-Note: x\r\n", kMarkerFileAdded,
       "X-Velmora-Note: x\r\nX-Velmora: Setattach\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(MarkedHeader(c.header, c.word), c.expected) << c.what;
}

TEST(MarkerField, HasMarkerReadsTheMarkerFieldsOfTheHeader) {
  const TLineList lines = SplitLines(
      "content-type: text/plain\r\nx-velmora: Setattach\r\n\r\nX-Velmora: Settlement\r\n");
  const size_t end = HeaderEnd(lines);
  EXPECT_TRUE(HasMarker(lines, end, "Setattach"));
  EXPECT_FALSE(HasMarker(lines, end, "Settlement"));
}

}  // namespace
}  // namespace vlm
