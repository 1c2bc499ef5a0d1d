#pragma once
// The file formats of the pasted-image dialog and how its compression position `Comp` (0 to 10,
// the settings slider) becomes each encoder's setting.
#include <cstdint>
#include <string>

namespace vlm {

// In the order of the dialog's format choices; the ordinal is the radio group's item index.
enum TImageFormat {
  ifJpeg = 0,
  ifBmp = 1,
  ifGif = 2,
  ifPng = 3,
};

// ".jpg", ".bmp", ".gif" or ".png".
std::wstring ImageExtension(TImageFormat format);

// JPEG quality `Comp` x 10. Position 0 would ask for quality 0, which the format cannot express
// (a quantiser of 0): it becomes 1, the strongest compression there is.
int JpegQuality(int comp);

// The libdeflate level (0 stored to 12 smallest) of position `Comp` for a picture of `pixels`
// pixels: 0 to 8 are the levels of the same number. Position 9, the default, stays at level 8: on
// a 4K screenshot level 9 saves half a percent more for half as much time again, while 8 already
// writes smaller files than ImageMagick's strongest setting. Pictures larger than Full HD take
// level 7 at positions 8 and 9: on a 4K screenshot level 8 saves 1.7% more for more than twice
// the time (a third of a second the dialog waits), and 7 still writes files 2.7% smaller than
// ImageMagick's strongest; up to Full HD level 8 costs tens of milliseconds more. Position 10 is
// level 12, the strongest and slowest.
int PngCompressionLevel(int comp, std::uint64_t pixels);

}  // namespace vlm
