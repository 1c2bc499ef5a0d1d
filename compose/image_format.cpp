#include "compose/image_format.h"

#include <algorithm>

namespace vlm {

std::wstring ImageExtension(TImageFormat format) {
  switch (format) {
    case ifJpeg:
      return L".jpg";
    case ifBmp:
      return L".bmp";
    case ifGif:
      return L".gif";
    case ifPng:
      return L".png";
  }
  return L".bmp";
}

int JpegQuality(int comp) {
  return std::clamp(comp * 10, 1, 100);
}

int PngCompressionLevel(int comp) {
  constexpr int kLevels[] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 7, 12};
  return kLevels[std::clamp(comp, 0, 10)];
}

}  // namespace vlm
