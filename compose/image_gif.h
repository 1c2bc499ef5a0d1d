#pragma once
#include <cstdint>
#include <vector>

#include "compose/image_bitmap.h"

namespace vlm {

// A GIF89a file of one frame: the picture reduced to at most 256 colours (QuantizeColours) and
// LZW-compressed.
std::vector<std::uint8_t> EncodeGif(const TBitmapImage& image);

}  // namespace vlm
