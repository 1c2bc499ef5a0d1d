#include <gtest/gtest.h>

#include "base/format_size.h"

namespace {

struct Case {
  std::int64_t bytes;
  const wchar_t* expected;
};

TEST(FormatSize, UnitsAndThresholds) {
  const std::int64_t kB = 1024, MB = kB * kB, GB = MB * kB;
  const Case cases[] = {
      {0, L"0Byte"},          {10239, L"10239Byte"},     {10240, L"11kByte"},
      {2 * MB, L"2049kByte"}, {10 * MB - 1, L"10MByte"}, {10 * MB, L"10MByte"},
      {12 * MB, L"12MByte"},  {11 * GB, L"12GByte"},     {11263 * MB, L"11263MByte"},
      {-1, L"-1Byte"},
  };
  for (const auto& c : cases) EXPECT_EQ(vlm::FormatSize(c.bytes), c.expected) << c.bytes;
}

}  // namespace
