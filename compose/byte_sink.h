#pragma once
// Where an encoder hands its file as it makes it: piece by piece, in order. A file is then
// written without all of its bytes ever being in memory at once, whose freshly touched pages cost
// more than the copy into the file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vlm {

// Takes the next `size` bytes; may throw, which ends the encoding.
using TByteSink = std::function<void(const std::uint8_t* data, std::size_t size)>;

// Collects what `encode` hands its sink into one vector.
inline std::vector<std::uint8_t> CollectBytes(const std::function<void(const TByteSink&)>& encode) {
  std::vector<std::uint8_t> bytes;
  encode([&bytes](const std::uint8_t* data, std::size_t size) {
    bytes.insert(bytes.end(), data, data + size);
  });
  return bytes;
}

}  // namespace vlm
