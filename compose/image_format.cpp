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
  return std::clamp(comp, 0, 9);
}

}  // namespace vlm
