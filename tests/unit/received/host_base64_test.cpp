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

}  // namespace
}  // namespace vlm
