#pragma once
// Reduction of a truecolour picture to at most 256 colours for GIF.
#include <array>
#include <cstdint>
#include <vector>

#include "compose/image_bitmap.h"
#include "compose/uninitialized_bytes.h"

namespace vlm {

struct TIndexedImage {
  std::vector<std::array<std::uint8_t, 3>> Palette;  // red, green, blue; 1 to 256 entries
  TUninitializedBytes Indices;                       // Width x Height, top row first
};

// A picture of at most 256 distinct colours keeps them exactly (screenshots of plain windows
// often do). Otherwise the palette comes from a variance-minimising median cut of the colour
// histogram: the box with the largest squared error is split where the split removes the most
// error, and each colour is the mean of the pixels in its box. Pixels are mapped to their
// nearest palette colour with Floyd-Steinberg error diffusion, which keeps gradients and photos
// from banding while areas of an exact palette colour stay clean.
TIndexedImage QuantizeColours(const TBitmapImage& image);

}  // namespace vlm
