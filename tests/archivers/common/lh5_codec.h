#pragma once
// The -lh5- method of LHA: LZSS over an 8 KB window with static Huffman codes per block.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

std::vector<std::uint8_t> Lh5Encode(const std::vector<std::uint8_t>& data);
// Throws ArchiverError (kErrorFileCrc) when the stream ends early or holds an impossible code.
std::vector<std::uint8_t> Lh5Decode(const std::vector<std::uint8_t>& packed,
                                    std::uint32_t originalSize);

// CRC-16 of LHA members and headers (polynomial 0xA001, reflected, starting at 0).
std::uint16_t Crc16(const std::uint8_t* data, size_t size, std::uint16_t crc = 0);

}  // namespace standin
