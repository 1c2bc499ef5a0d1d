#include "base/host_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vlm {
namespace {

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  TLineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  return lines;
}

std::string Join(const TLineList& lines) {
  std::string text;
  for (const auto line : lines) text += std::string(line) + "|";
  return text;
}

TEST(TLineReader, BreaksAtCrLfCrOrLfAndNoLineAfterAFinalBreak) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"\r\n", {""}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\r", {"a", ""}},
      {"\r", {""}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Lines(c.text), c.lines)
        << "case with " << c.lines.size() << " lines, text size " << c.text.size();
}

TEST(SplitLines, SplitsAtEveryKindOfBreak) {
  struct Case {
    std::string_view text;
    std::string lines;
  } cases[] = {
      {"", ""},
      {"a", "a|"},
      {"a\r\nb\r\n", "a|b|"},
      {"a\rb\nc\r\n\r\nd", "a|b|c||d|"},
      {"\n\n", "||"},
      {"a\r\r\nb", "a||b|"},
  };
  for (const auto& c : cases) EXPECT_EQ(Join(SplitLines(c.text)), c.lines) << c.text;
}

TEST(HostText, NullIsEmpty) {
  EXPECT_EQ(HostText(nullptr), "");
  EXPECT_EQ(HostText("a\r\n"), "a\r\n");
}

}  // namespace
}  // namespace vlm
