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

int PngCompressionLevel(int comp, std::uint64_t pixels) {
  constexpr int kLevels[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 12};
  constexpr std::uint64_t kFullHd = 1920 * 1080;
  const int level = kLevels[std::clamp(comp, 0, 10)];
  return level == 8 && pixels > kFullHd ? 7 : level;
}

}  // namespace vlm
