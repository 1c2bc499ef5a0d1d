#include "received/compressed_rtf.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/little_endian.h"
#include "tests/support/rtf_crc.h"

namespace vlm {
namespace {

using test::LittleEndian;

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string bytes;
  for (const unsigned value : values) bytes += static_cast<char>(value);
  return bytes;
}

// The two compressed bodies MS-OXRTFCP works through: one that reads the initial ring, one whose
// reference overlaps the bytes it writes.
const std::string kSimple = Bytes({
    0x2d, 0x00, 0x00, 0x00, 0x2b, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xf1,
    0xc5, 0xc7, 0xa7, 0x03, 0x00, 0x0a, 0x00, 0x72, 0x63, 0x70, 0x67, 0x31, 0x32,
    0x35, 0x42, 0x32, 0x0a, 0xf3, 0x20, 0x68, 0x65, 0x6c, 0x09, 0x00, 0x20, 0x62,
    0x77, 0x05, 0xb0, 0x6c, 0x64, 0x7d, 0x0a, 0x80, 0x0f, 0xa0,
});
const std::string kSimpleRtf = "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n";
const std::string kOverlapping = Bytes({
    0x1a, 0x00, 0x00, 0x00, 0x1c, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xe2, 0xd4, 0x4b,
    0x51, 0x41, 0x00, 0x04, 0x20, 0x57, 0x58, 0x59, 0x5a, 0x0d, 0x6e, 0x7d, 0x01, 0x0e, 0xb0,
});
const std::string kOverlappingRtf = "{\\rtf1 WXYZWXYZWXYZWXYZWXYZ}";

std::string Uncompressed(std::string_view rtf) {
  const auto size = static_cast<std::uint32_t>(rtf.size());
  return LittleEndian(size + 12) + LittleEndian(size) + "MELA" + LittleEndian(0) + std::string(rtf);
}

// A compressed body of literals and references back into the output written so far, whose
// expected output is worked out from the output itself rather than from a ring.
class TLzfuWriter {
 public:
  void Literal(char byte) {
    Token(false, std::string(1, byte));
    FExpected += byte;
  }
  // Copies `length` (2 to 17) bytes starting `distance` bytes back (at most 4096 - 17).
  void Back(std::size_t distance, unsigned length) {
    const std::size_t from = (FExpected.size() + 207 - distance) & 0xFFF;
    const unsigned reference = static_cast<unsigned>(from << 4) | (length - 2);
    Token(true, Bytes({reference >> 8, reference & 0xFF}));
    for (unsigned i = 0; i < length; ++i) FExpected += FExpected[FExpected.size() - distance];
  }
  std::string Finish() {
    const unsigned end = static_cast<unsigned>(((FExpected.size() + 207) & 0xFFF) << 4);
    Token(true, Bytes({end >> 8, end & 0xFF}));
    std::string contents;
    for (std::size_t i = 0; i < FTokens.size(); ++i) {
      if (i % 8 == 0) contents += static_cast<char>(FControls[i / 8]);
      contents += FTokens[i];
    }
    const auto size = static_cast<std::uint32_t>(contents.size());
    return LittleEndian(size + 12) + LittleEndian(static_cast<std::uint32_t>(FExpected.size())) +
           "LZFu" + LittleEndian(test::CompressedRtfCrc(contents)) + contents;
  }
  const std::string& Expected() const { return FExpected; }

 private:
  void Token(bool reference, std::string bytes) {
    if (FTokens.size() % 8 == 0) FControls.push_back(0);
    if (reference) FControls.back() |= 1u << (FTokens.size() % 8);
    FTokens.push_back(std::move(bytes));
  }
  std::vector<unsigned> FControls;
  std::vector<std::string> FTokens;
  std::string FExpected;
};

TEST(CompressedRtf, Decompresses) {
  TLzfuWriter long_;
  for (int i = 0; i < 3000; ++i) long_.Literal(static_cast<char>('a' + i % 26));
  for (int i = 0; i < 600; ++i) long_.Back(1 + (i * 37) % 2900, 2 + i % 16);
  const std::string longBody = long_.Finish();
  struct Case {
    const char* name;
    std::string compressed;
    std::string rtf;
  } cases[] = {
      {"simple", kSimple, kSimpleRtf},
      {"overlapping", kOverlapping, kOverlappingRtf},
      {"uncompressed", Uncompressed(kSimpleRtf), kSimpleRtf},
      {"padded as in TNEF", kSimple + std::string(3, '\0'), kSimpleRtf},
      {"ring wraps", longBody, long_.Expected()},
  };
  for (const auto& c : cases) EXPECT_EQ(DecompressRtf(c.compressed), c.rtf) << c.name;
}

std::string WithByte(std::string bytes, std::size_t at, char value) {
  bytes[at] = value;
  return bytes;
}

TEST(CompressedRtf, RefusesWhatDoesNotFit) {
  const std::string cases[] = {
      "",
      kSimple.substr(0, 15),                          // header truncated
      kSimple.substr(0, kSimple.size() - 1),          // COMPSIZE past the end
      WithByte(kSimple, 20, 'x'),                     // CRC mismatch
      WithByte(kSimple, 12, 0),                       // CRC mismatch in the header
      WithByte(kSimple, 4, 0x2a),                     // runs past RAWSIZE
      WithByte(kSimple, 4, 0x2c),                     // ends short of RAWSIZE
      WithByte(WithByte(kSimple, 6, 0x10), 7, 0x00),  // RAWSIZE beyond any expansion
      WithByte(kSimple, 7, static_cast<char>(0xFF)),  // RAWSIZE of 4 GB
      WithByte(kSimple, 8, 'X'),                      // unknown COMPTYPE
      WithByte(Uncompressed(kSimpleRtf), 4, 0x2c),    // MELA shorter than RAWSIZE
      LittleEndian(11) + LittleEndian(0) + "LZFu" + LittleEndian(0),  // COMPSIZE below 12
      LittleEndian(12) + LittleEndian(0) + "LZFu" + LittleEndian(0),  // no end reference
  };
  for (const auto& compressed : cases)
    EXPECT_THROW((void)DecompressRtf(compressed), ECompressedRtf)
        << testing::PrintToString(compressed);
}

}  // namespace
}  // namespace vlm
