#pragma once
#include <cstdint>
#include <vector>

#include "compose/image_bitmap.h"

namespace vlm {

// The bitmap as it is, as a Windows BMP file: same depth, uncompressed, rows stored bottom-up
// as every reader of the format expects.
std::vector<std::uint8_t> EncodeBmp(const TBitmapImage& image);

}  // namespace vlm
