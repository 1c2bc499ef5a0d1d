#pragma once
#include <cstdint>
#include <vector>

#include "compose/image_bitmap.h"

namespace vlm {

// A truecolour PNG file (8 bits per channel; the fourth byte of 32-bit pixels is not alpha in a
// clipboard bitmap and is left out), deflated at `level` 0 to 9. Each row gets the one of the
// five row filters that leaves the smallest sum of absolute byte values, the usual predictor of
// what deflates best; a stored (level 0) stream gains nothing from filtering and gets none.
std::vector<std::uint8_t> EncodePng(const TBitmapImage& image, int level);

}  // namespace vlm
