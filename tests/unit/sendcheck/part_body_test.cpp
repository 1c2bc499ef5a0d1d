#include "sendcheck/part_body.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "base/ansi_text.h"
#include "sendcheck/archive_contents.h"
#include "tests/support/base64.h"
#include "tests/unit/sendcheck/archive_fixtures.h"

namespace vlm {
namespace {

std::optional<std::string> WholeBody(std::string_view text, std::size_t limit) {
  const auto body = TPartBody::Find(text, 0, limit);
  if (!body) return std::nullopt;
  const auto bytes = body->Read(0, body->Size());
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

TEST(TPartBody, DecodesTheBase64LinesAfterThePartHeader) {
  struct Case {
    const char* name;
    std::string text;
    std::size_t limit;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {"lines to the boundary", " filename=\"a.zip\"\r\n\r\nUEsD\r\nBAo=\r\n--part--\r\nAAAA\r\n",
       100, "PK\x03\x04\x0A"},
      {"to the end of the text", " filename=\"a\"\r\n\r\nYWJj", 100, "abc"},
      {"to an empty line", "x\r\n\r\nYQ==\r\n\r\nAAAA\r\n", 100, "a"},
      {"two characters left", "x\r\n\r\nYWI\r\n", 100, "ab"},
      {"padding on a line of its own", "x\r\n\r\nYW\r\n==\r\n", 100, "a"},
      {"no body", "x\r\n", 100, ""},
      {"not base64", "x\r\n\r\nYW*j\r\n", 100, std::nullopt},
      {"data after padding", "x\r\n\r\nYQ==YWJj\r\n", 100, std::nullopt},
      {"three padding characters", "x\r\n\r\nY===\r\n", 100, std::nullopt},
      {"one character left", "x\r\n\r\nYWJjY\r\n", 100, std::nullopt},
      {"beyond the limit", "x\r\n\r\nYWJjZGVm\r\n", 5, std::nullopt},
      {"at the limit", "x\r\n\r\nYWJjZGVm\r\n", 6, "abcdef"},
  };
  for (const Case& c : cases) EXPECT_EQ(WholeBody(c.text, c.limit), c.bytes) << c.name;
}

// Any range, across lines of any length, reads as the same bytes of the whole.
TEST(TPartBody, ReadsEveryRangeAsTheWholeHoldsIt) {
  const std::string data = "The quick brown fox jumps over the lazy dog, 0123456789!";
  // Lines of one length (found by arithmetic), LF only, and of lengths that vary (listed).
  std::string irregular, base64 = test::EncodeBase64(data);
  for (std::size_t at = 0, length = 1; at < base64.size(); at += length++)
    irregular += base64.substr(at, length) + "\r\n";
  std::string lfOnly = test::EncodeBase64Lines(data, 8);
  std::erase(lfOnly, '\r');
  for (const std::string& lines :
       {test::EncodeBase64Lines(data, 4), test::EncodeBase64Lines(data, 76), lfOnly, irregular}) {
    const std::string text = "x\r\n\r\n" + lines + "--end\r\n";
    const auto body = TPartBody::Find(text, 0, 1000);
    ASSERT_TRUE(body);
    ASSERT_EQ(body->Size(), data.size());
    for (std::size_t at = 0; at <= data.size(); ++at)
      for (std::size_t size = 0; at + size <= data.size(); ++size) {
        const auto bytes = body->Read(at, size);
        ASSERT_TRUE(bytes) << at << "+" << size;
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), data.substr(at, size));
      }
    EXPECT_FALSE(body->Read(data.size(), 1));
    EXPECT_FALSE(body->Read(1, data.size()));
  }
}

// A 25 MB attachment: its directory found and read well within the time the user waits, without
// decoding the rest.
TEST(TPartBody, FindsTheDirectoryOfA25MegabyteArchiveQuickly) {
  const std::string text = "--part\r\n filename=\"big.zip\"\r\n\r\n" +
                           test::EncodeBase64Lines(test::TArchiveFixtures::Get().Bytes("big.zip")) +
                           "--part--\r\n";
  const auto start = std::chrono::steady_clock::now();
  const auto body = TPartBody::Find(text, 0, 32 * 1024 * 1024);
  ASSERT_TRUE(body);
  const TArchiveContents contents = InspectArchive(
      L".zip",
      {body->Size(), [&](std::size_t at, std::size_t size) { return body->Read(at, size); }});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(ToUtf8(contents.RefusedMember), "run.bat");
  // Generous for a shared machine; the bench measures it properly.
  EXPECT_LT(took, std::chrono::milliseconds(1000));
  std::printf(
      "25 MB attachment: %lld ms\n",
      static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

}  // namespace
}  // namespace vlm
