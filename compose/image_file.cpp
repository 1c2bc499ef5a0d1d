#include "compose/image_file.h"

#include <string_view>

#include "base/files.h"
#include "compose/image_bmp.h"
#include "compose/image_gif.h"
#include "compose/image_jpeg.h"
#include "compose/image_png.h"

namespace vlm {

std::vector<std::uint8_t> EncodeImage(const TBitmapImage& image, TImageFormat format, int comp) {
  switch (format) {
    case ifJpeg:
      return EncodeJpeg(image, JpegQuality(comp));
    case ifGif:
      return EncodeGif(image);
    case ifPng:
      return EncodePng(image, PngCompressionLevel(comp));
    case ifBmp:
      break;
  }
  return EncodeBmp(image);
}

void WriteImageFile(const TBitmapImage& image, TImageFormat format, int comp,
                    const std::wstring& fileName) {
  const std::vector<std::uint8_t> bytes = EncodeImage(image, format, comp);
  TReplacingFile file(fileName);
  file.Append(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  file.Commit();
}

}  // namespace vlm
