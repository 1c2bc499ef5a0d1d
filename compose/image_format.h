#pragma once
// The file formats of the pasted-image dialog and how its compression position `Comp` (0 to 10,
// the settings slider) becomes each encoder's setting.
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

// The libdeflate level (0 stored to 12 smallest) of position `Comp`: 0 to 7 are the levels of
// the same number. Positions 8 and 9 (the default) stay at level 7: on a 4K screenshot level 8
// saves under two percent more for more than twice the time, while 7 already writes smaller
// files than ImageMagick's strongest setting. Position 10 is level 12, the strongest and slowest.
int PngCompressionLevel(int comp);

}  // namespace vlm
