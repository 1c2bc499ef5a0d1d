#pragma once
#include <cstdint>
#include <vector>

#include "compose/byte_sink.h"
#include "compose/image_bitmap.h"

namespace vlm {

// A truecolour PNG file (8 bits per channel; the fourth byte of 32-bit pixels is not alpha in a
// clipboard bitmap and is left out), its rows filtered as FilterRows does and deflated by
// libdeflate at `level` 0 (stored) to 12 (smallest, slowest). A picture that is noise to deflate
// (a photograph: nearly every row noisy under every filter) is coded by zlib instead at levels 1
// to 9, as bytes and runs only, which is smaller and faster for such data than those levels.
std::vector<std::uint8_t> EncodePng(const TBitmapImage& image, int level);
// The same file handed to `sink` as it is made; what the sink throws passes on.
void EncodePng(const TBitmapImage& image, int level, const TByteSink& sink);

}  // namespace vlm
