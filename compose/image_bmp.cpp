#include "compose/image_bmp.h"

#include <cstring>

namespace vlm {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER

void Put16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
  Put16(at, value & 0xFFFF);
  Put16(at + 2, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const TBitmapImage& image) {
  image.Validate();
  const std::size_t stride = image.RowStride();
  const std::size_t pixelBytes = stride * image.Height;
  const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<std::uint8_t> out(offset + pixelBytes);

  std::uint8_t* h = out.data();
  h[0] = 'B';
  h[1] = 'M';
  Put32(h + 2, static_cast<std::uint32_t>(out.size()));
  Put32(h + 10, static_cast<std::uint32_t>(offset));
  std::uint8_t* info = h + kFileHeaderSize;
  Put32(info, kInfoHeaderSize);
  Put32(info + 4, static_cast<std::uint32_t>(image.Width));
  Put32(info + 8, static_cast<std::uint32_t>(image.Height));  // positive: bottom-up rows
  Put16(info + 12, 1);                                        // planes
  Put16(info + 14, static_cast<std::uint32_t>(image.BitsPerPixel));
  Put32(info + 16, 0);  // BI_RGB
  Put32(info + 20, static_cast<std::uint32_t>(pixelBytes));
  Put32(info + 24, 3780);  // 96 dots per inch, as pixels per metre
  Put32(info + 28, 3780);

  std::uint8_t* rows = h + offset;
  for (int y = 0; y < image.Height; ++y)
    std::memcpy(rows + stride * (image.Height - 1 - y), image.Row(y), stride);
  return out;
}

}  // namespace vlm
