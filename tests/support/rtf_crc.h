#pragma once
// The CRC a compressed RTF header keeps, computed bit by bit as a check on the decoder's own
// table: reflected polynomial 0xEDB88320, started at zero, not inverted at the end.
#include <cstdint>
#include <string_view>

namespace vlm::test {

inline std::uint32_t CompressedRtfCrc(std::string_view bytes) {
  std::uint32_t crc = 0;
  for (const char byte : bytes) {
    crc ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0);
  }
  return crc;
}

}  // namespace vlm::test
