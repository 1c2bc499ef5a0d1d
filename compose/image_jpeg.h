#pragma once
#include <cstdint>
#include <vector>

#include "compose/byte_sink.h"
#include "compose/image_bitmap.h"

namespace vlm {

// A baseline JFIF file at `quality` 1 to 100, written by libjpeg-turbo with its defaults, the
// ones cjpeg uses: the IJG scaling of the standard quantisation tables, colour subsampled 4:2:0,
// the standard Huffman tables. The output equals cjpeg's for the same pixels and quality.
std::vector<std::uint8_t> EncodeJpeg(const TBitmapImage& image, int quality);
// The same file handed to `sink` as it is made. What the sink throws passes on, and nothing more
// is handed to it then.
void EncodeJpeg(const TBitmapImage& image, int quality, const TByteSink& sink);

}  // namespace vlm
