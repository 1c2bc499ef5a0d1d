#include "received/host_base64.h"

#include <gtest/gtest.h>

#include "base/host_lines.h"

namespace vlm {
namespace {

TEST(HostBase64, SizeOnlyForCleanText) {
  struct Case {
    std::string_view text;
    std::optional<std::uint64_t> size;
  } cases[] = {
      {"QUJD", 3},
      {"QUI=", 2},
      {"QQ==", 1},
      {"QUJD\r\nQQ==", 4},
      {"QUJ", std::nullopt},
      {"QQ=A", std::nullopt},
      {"Q===", std::nullopt},
      {"QU D", std::nullopt},
      {"QUJD\r\n--b", std::nullopt},
      {"", 0},
  };
  // Counted line by line, as the winmail.dat part is, and as a whole text, as the host's output.
  for (const auto& c : cases) {
    TBase64Count whole, byLine;
    whole.Add(c.text);
    for (const std::string_view line : SplitLines(c.text)) byLine.Add(line);
    EXPECT_EQ(whole.DecodedSize(), c.size) << c.text;
    EXPECT_EQ(byLine.DecodedSize(), c.size) << c.text;
  }
}

TEST(HostBase64, LongTextsCountedBlockByBlock) {
  // Three lines of 76 letters (171 bytes), with one byte changed at places across the blocks.
  std::string clean;
  for (int line = 0; line < 3; ++line) clean += std::string(76, 'Q') + "\r\n";
  struct Case {
    std::size_t at;
    char byte;
    std::optional<std::uint64_t> size;
  } cases[] = {
      {0, 'Q', 171},           {16, ' ', std::nullopt},  {40, '\x80', std::nullopt},
      {50, '=', std::nullopt}, {78, '\n', std::nullopt}, {70, '/', 171},
  };
  for (const auto& c : cases) {
    std::string text = clean;
    text[c.at] = c.byte;
    TBase64Count count;
    count.Add(text);
    EXPECT_EQ(count.DecodedSize(), c.size) << c.at;
  }
  TBase64Count padded;
  padded.Add(clean.substr(0, clean.size() - 4) + "==\r\n");
  EXPECT_EQ(padded.DecodedSize(), 169u);
}

}  // namespace
}  // namespace vlm
