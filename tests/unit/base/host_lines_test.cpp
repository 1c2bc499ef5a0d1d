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

// Texts whose lines and breaks fall on every place of the sixteen-byte blocks the reader compares.
std::vector<std::string> BlockTexts() {
  const std::string breaks[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
  std::vector<std::string> texts;
  for (std::size_t length = 0; length < 40; length += 3)
    for (std::size_t kind = 0; kind < std::size(breaks); ++kind) {
      std::string text;
      for (std::size_t i = 0; text.size() < 200; ++i) {
        std::string line((length + i) % 37, static_cast<char>('a' + i % 26));
        if (i % 7 == 3 && !line.empty()) line[line.size() / 2] = '\x93';  // an 8-bit byte
        text += line + breaks[(kind + i / 5) % std::size(breaks)];
      }
      texts.push_back(text);
      texts.push_back(text + "tail");
    }
  return texts;
}

TEST(TLineReader, FindsBreaksAndEightBitBytesAcrossBlocks) {
  for (const std::string& text : BlockTexts()) {
    // One character at a time, as the reader was written before it compared blocks.
    std::vector<std::pair<std::string, bool>> expected;
    for (std::size_t at = 0; at < text.size();) {
      std::size_t end = at;
      while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
      const std::string line = text.substr(at, end - at);
      expected.emplace_back(line, line.find('\x93') == std::string::npos);
      at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    std::vector<std::pair<std::string, bool>> got;
    TLineReader reader(text);
    for (std::string_view line; reader.Next(line);) got.emplace_back(line, reader.LineIsAscii());
    EXPECT_EQ(got, expected) << text;
  }
}

TEST(TLineReader, SkipsOnlyAsciiLinesThatEndBeforeTheLimitAndAreNotTheAvoidedSize) {
  for (const std::string& text : BlockTexts()) {
    const std::vector<std::string> all = Lines(text);
    for (const std::size_t avoid : {std::size_t{0}, std::size_t{10}})
      for (const std::size_t before : {std::size_t{50}, std::size_t{117}, text.size()}) {
        // From every line on: the lines skipped are the next ones, each as the rules allow, and
        // the reader goes on with the line after them.
        for (std::size_t first = 0; first < all.size(); ++first) {
          TLineReader reader(text);
          std::string_view line;
          for (std::size_t i = 0; i < first; ++i) reader.Next(line);
          const auto skipped = reader.SkipAsciiLines(before, avoid);
          std::size_t bytes = 0;
          for (std::size_t i = first; i < first + skipped.Lines; ++i) {
            ASSERT_LT(i, all.size());
            EXPECT_EQ(all[i].find('\x93'), std::string::npos);
            EXPECT_TRUE(avoid == 0 || all[i].size() != avoid);
            bytes += all[i].size();
          }
          EXPECT_EQ(skipped.Bytes, bytes);
          if (reader.Next(line)) {
            ASSERT_LT(first + skipped.Lines, all.size());
            EXPECT_EQ(line, all[first + skipped.Lines]);
            // It stops only where it must, or within the last block before the limit.
            const auto end = static_cast<std::size_t>(line.data() - text.data()) + line.size();
            const bool mayPass = reader.LineIsAscii() && (avoid == 0 || line.size() != avoid);
            EXPECT_FALSE(mayPass && end + 16 <= before && end < text.size()) << "stopped early";
          }
        }
      }
  }
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
