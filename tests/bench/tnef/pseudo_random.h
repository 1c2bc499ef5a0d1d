#pragma once
// Pseudo-random bytes (xorshift), the same for the same state, for generated attachments.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vlm::test {

inline std::string PseudoRandomBytes(std::size_t size, std::uint64_t& state) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

}  // namespace vlm::test
