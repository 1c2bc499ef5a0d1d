#include "received/compressed_rtf.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace vlm {
namespace {

constexpr std::size_t kHeaderSize = 16;
// COMPSIZE counts the bytes after itself: the other three header fields and the contents.
constexpr std::uint32_t kHeaderAfterSize = 12;
constexpr std::uint32_t kCompressed = 0x75465A4C;    // "LZFu"
constexpr std::uint32_t kUncompressed = 0x414C454D;  // "MELA"

// A control byte and eight references, 17 bytes, give at most 136 bytes of output, so no honest
// stream expands more than eight times: a RAWSIZE beyond that is a lie that would only make a
// small file claim much memory. The fixed allowance covers short bodies, the ceiling keeps one
// body within what a 32-bit plug-in can hold beside the message (it is read as wide text too).
constexpr std::uint64_t kExpansionLimit = 8;
constexpr std::uint64_t kSmallBodyAllowance = 4096;
constexpr std::uint64_t kLargestBody = 64u * 1024 * 1024;

constexpr std::size_t kRingSize = 4096;
constexpr std::size_t kRingMask = kRingSize - 1;
// The ring's first bytes before any output: words most RTF documents begin with, so that even
// the opening of a short body compresses. The rest of the ring starts as zeros.
constexpr std::string_view kInitialRing =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern "
    "\\fscript \\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0"
    "\\blue0\r\n\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
static_assert(kInitialRing.size() == 207);

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

// The CRC-32 of the reflected polynomial 0xEDB88320, but started at zero and not inverted at the
// end, as the compressed RTF header keeps it.
std::uint32_t ContentsCrc(std::string_view contents) {
  static constexpr auto kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t value = n;
      for (int bit = 0; bit < 8; ++bit)
        value = (value & 1) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
      table[n] = value;
    }
    return table;
  }();
  std::uint32_t crc = 0;
  for (const char byte : contents)
    crc = kTable[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
  return crc;
}

// The LZ77 stream: each control byte's bits, lowest first, tell whether the next token is a
// literal byte (0) or a big-endian reference (1) of a 12-bit ring offset and a 4-bit length less
// two. A reference to the ring's write position ends the stream.
class TRingDecoder {
 public:
  TRingDecoder(std::string_view contents, std::size_t rawSize)
      : FContents(contents), FOut(rawSize, '\0') {
    std::copy(kInitialRing.begin(), kInitialRing.end(), FRing.begin());
  }

  std::string Decode() {
    for (;;) {
      const unsigned control = NextByte();
      for (int bit = 0; bit < 8; ++bit) {
        if ((control & (1u << bit)) == 0) {
          if (FSize == FOut.size()) throw ECompressedRtf("compressed RTF: runs past its RAWSIZE");
          FOut[FSize++] = static_cast<char>(NextByte());
        } else if (!CopyReference()) {
          if (FSize != FOut.size())
            throw ECompressedRtf("compressed RTF: ends short of its RAWSIZE");
          return std::move(FOut);
        }
      }
    }
  }

 private:
  unsigned NextByte() {
    if (FRead == FContents.size()) throw ECompressedRtf("compressed RTF: truncated");
    return static_cast<unsigned char>(FContents[FRead++]);
  }

  // The ring is never written: the byte at a ring offset is the latest output byte written there,
  // `distance` bytes back from the write position, or, before the output reaches back that far,
  // what the ring started with. False for the reference that ends the stream.
  bool CopyReference() {
    const unsigned high = NextByte();
    const unsigned reference = (high << 8) | NextByte();
    const std::size_t from = reference >> 4;
    const std::size_t write = (kInitialRing.size() + FSize) & kRingMask;
    const std::size_t distance = (write - from) & kRingMask;
    if (distance == 0) return false;
    const unsigned length = (reference & 0xF) + 2;
    if (length > FOut.size() - FSize) throw ECompressedRtf("compressed RTF: runs past its RAWSIZE");
    // A copy may overlap the bytes it writes: byte by byte, each read before the next write.
    for (unsigned i = 0; i < length; ++i, ++FSize)
      FOut[FSize] = FSize >= distance ? FOut[FSize - distance] : FRing[(from + i) & kRingMask];
    return true;
  }

  std::string_view FContents;
  std::size_t FRead = 0;
  std::array<char, kRingSize> FRing{};
  std::string FOut;
  std::size_t FSize = 0;  // bytes of FOut written
};

}  // namespace

std::string DecompressRtf(std::string_view compressed) {
  if (compressed.size() < kHeaderSize) throw ECompressedRtf("compressed RTF: header truncated");
  const std::uint32_t compSize = LittleEndian32(compressed, 0);
  const std::uint32_t rawSize = LittleEndian32(compressed, 4);
  const std::uint32_t type = LittleEndian32(compressed, 8);
  const std::uint32_t crc = LittleEndian32(compressed, 12);
  if (compSize < kHeaderAfterSize || compSize > compressed.size() - 4)
    throw ECompressedRtf("compressed RTF: COMPSIZE does not match the value");
  const std::string_view contents = compressed.substr(kHeaderSize, compSize - kHeaderAfterSize);
  const std::uint64_t largest =
      std::min(kExpansionLimit * compressed.size() + kSmallBodyAllowance, kLargestBody);
  if (rawSize > largest) throw ECompressedRtf("compressed RTF: RAWSIZE too large");

  if (type == kUncompressed) {
    if (rawSize > contents.size()) throw ECompressedRtf("compressed RTF: truncated");
    return std::string(contents.substr(0, rawSize));
  }
  if (type != kCompressed) throw ECompressedRtf("compressed RTF: unknown COMPTYPE");
  if (ContentsCrc(contents) != crc) throw ECompressedRtf("compressed RTF: CRC mismatch");
  return TRingDecoder(contents, rawSize).Decode();
}

}  // namespace vlm
