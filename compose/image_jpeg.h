#pragma once
#include <cstdint>
#include <vector>

#include "compose/image_bitmap.h"

namespace vlm {

// A baseline JFIF file at `quality` 1 to 100 (the IJG scaling of the standard quantisation
// tables), colour subsampled 4:2:0 like common encoders' defaults, with the standard Huffman
// tables.
std::vector<std::uint8_t> EncodeJpeg(const TBitmapImage& image, int quality);

}  // namespace vlm
