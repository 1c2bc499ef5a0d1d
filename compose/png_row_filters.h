#pragma once
// PNG's row filters (None, Sub, Up, Average, Paeth on red, green, blue bytes) and the choice of
// one filter per row before deflate.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "compose/image_bitmap.h"
#include "compose/uninitialized_bytes.h"

namespace vlm {

// The picture's rows as PNG's image data before compression: for each row a filter type byte,
// then the row's red, green, blue bytes under that filter. Without `choose` every row is left
// unfiltered (a stored stream gains nothing from filtering).
//
// Each row gets the filter whose output holds the fewest distinct pairs of neighbouring bytes.
// Few distinct pairs means long repeats and few different literals, what deflate codes best; it
// beats the usual smallest-sum-of-differences rule on screenshots (flat areas and repeated text
// come out as exact repeats under None or Up). A row with many distinct pairs under every filter
// (noise, as in photos) gets the filter with the smallest sum of differences instead, which
// chooses as well there and saves counting the pairs to the end.
struct TFilteredRows {
  TUninitializedBytes Data;
  // Rows that were noise under every filter (only counted when filters are chosen).
  std::size_t NoisyRows = 0;
};
TFilteredRows FilterRows(const TBitmapImage& image, bool choose);

}  // namespace vlm
