// Any bytes as a compressed RTF body and as RTF: decompressing either yields at most RAWSIZE bytes
// or raises ECompressedRtf, and reading a body never raises, never crashes, and gives text only
// for a body that carries HTML or text. The bytes are also decompressed with their header made
// to agree (COMPSIZE and CRC), so that the search reaches the ring decoder behind the CRC check.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "received/compressed_rtf.h"
#include "received/rtf_body.h"
#include "tests/support/rtf_crc.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// The input with COMPSIZE and CRC set to what its contents give.
std::string WithAgreeingHeader(std::string_view input) {
  std::string bytes(input);
  Put32(bytes, 0, static_cast<std::uint32_t>(bytes.size() - 4));
  Put32(bytes, 12, vlm::test::CompressedRtfCrc(std::string_view(bytes).substr(16)));
  return bytes;
}

void ReadBody(std::string_view rtf) {
  const vlm::TRtfBody body = vlm::ReadRtfBody(rtf);
  if (body.Kind == vlm::TRtfBody::TKind::Rtf) Check(body.Text.empty());
}

std::uint32_t RawSize(std::string_view compressed) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(compressed[4 + i])) << (8 * i);
  return value;
}

void Decompress(std::string_view compressed) {
  try {
    const std::string rtf = vlm::DecompressRtf(compressed);
    Check(rtf.size() == RawSize(compressed));
    ReadBody(rtf);
  } catch (const vlm::ECompressedRtf&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  ReadBody(input);
  Decompress(input);
  if (size >= 16) Decompress(WithAgreeingHeader(input));
  return 0;
}
