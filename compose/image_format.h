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

// Deflate level `Comp`. Position 10 would ask for level 10, beyond zlib's 0 to 9: it becomes 9,
// the strongest there is.
int PngCompressionLevel(int comp);

}  // namespace vlm
