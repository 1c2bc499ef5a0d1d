#pragma once
// Numbers as TNEF, ZIP and LHA store them: least significant byte first.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vlm::test {

// The low `size` bytes of `value` as a byte string.
inline std::string LittleEndian(std::uint32_t value, int size = 4) {
  std::string out;
  for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

// Appends the low two or all four bytes of `value` to a byte vector.
inline void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Overwrites the four bytes at `at` with `value`.
inline void Set32(std::vector<std::uint8_t>& data, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    data[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint16_t Get16(const std::vector<std::uint8_t>& in, std::size_t at) {
  return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}
inline std::uint32_t Get32(const std::vector<std::uint8_t>& in, std::size_t at) {
  return Get16(in, at) | (static_cast<std::uint32_t>(Get16(in, at + 2)) << 16);
}

}  // namespace vlm::test
