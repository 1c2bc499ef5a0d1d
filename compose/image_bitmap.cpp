#include "compose/image_bitmap.h"

#include <limits>

namespace vlm {
namespace {

bool ValidDepth(int bitsPerPixel) {
  return bitsPerPixel == 24 || bitsPerPixel == 32;
}

// Keeps every buffer size, and every offset a file format stores in 32 bits, in range.
constexpr std::size_t kMaxPixelBytes = std::numeric_limits<std::int32_t>::max() - 1024;

bool ValidSize(int width, int height, int bitsPerPixel) {
  if (width <= 0 || height <= 0) return false;
  const std::size_t stride = (static_cast<std::size_t>(width) * (bitsPerPixel / 8) + 3) & ~3u;
  return stride <= kMaxPixelBytes / static_cast<std::size_t>(height);
}

}  // namespace

TBitmapImage::TBitmapImage(int width, int height, int bitsPerPixel)
    : Width(width), Height(height), BitsPerPixel(bitsPerPixel) {
  if (!ValidDepth(bitsPerPixel) || !ValidSize(width, height, bitsPerPixel))
    throw EImageEncode("unsupported bitmap size or depth");
  Pixels.assign(RowStride() * height, 0);
}

void TBitmapImage::Validate() const {
  if (!ValidDepth(BitsPerPixel)) throw EImageEncode("bitmap depth is not 24 or 32 bits");
  if (!ValidSize(Width, Height, BitsPerPixel)) throw EImageEncode("bitmap size out of range");
  if (Pixels.size() != RowStride() * Height)
    throw EImageEncode("bitmap pixel buffer does not match its size");
}

}  // namespace vlm
