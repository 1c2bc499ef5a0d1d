#pragma once
// A picture in memory as the clipboard hands it over: a device-independent bitmap of 24-bit
// (blue, green, red) or 32-bit (blue, green, red, unused) pixels. Rows run top-down and each
// row is padded to a multiple of four bytes, the layout GetDIBits fills for a top-down request,
// so the Windows side copies the clipboard bitmap in without converting it.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vlm {

// A picture that an encoder cannot write (empty, too large for the format, inconsistent).
class EImageEncode : public std::runtime_error {
 public:
  explicit EImageEncode(const std::string& message) : std::runtime_error(message) {}
};

struct TBitmapImage {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 24;             // 24 or 32
  std::vector<std::uint8_t> Pixels;  // Height rows of RowStride() bytes, top row first

  TBitmapImage() = default;
  // A black picture of the given size; raises EImageEncode for a size or depth it cannot hold.
  TBitmapImage(int width, int height, int bitsPerPixel = 24);

  int BytesPerPixel() const { return BitsPerPixel / 8; }
  std::size_t RowStride() const {
    return (static_cast<std::size_t>(Width) * BytesPerPixel() + 3) & ~static_cast<std::size_t>(3);
  }
  const std::uint8_t* Row(int y) const { return Pixels.data() + RowStride() * y; }
  std::uint8_t* Row(int y) { return Pixels.data() + RowStride() * y; }

  // Raises EImageEncode unless the picture has pixels, a depth of 24 or 32 bits and a pixel
  // buffer of exactly the size its dimensions call for. Every encoder checks this first.
  void Validate() const;
};

}  // namespace vlm
