#include "compose/image_file.h"

#include <optional>
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
  if (format == ifJpeg) {
    // Written as libjpeg makes it. The file is made with the first bytes, so a picture JPEG
    // cannot hold fails as it does in memory, before any file.
    std::optional<TReplacingFile> file;
    EncodeJpeg(image, JpegQuality(comp), [&](const std::uint8_t* data, std::size_t size) {
      if (!file) file.emplace(fileName);
      file->Append(std::string_view(reinterpret_cast<const char*>(data), size));
    });
    if (!file) file.emplace(fileName);
    file->Commit();
    return;
  }
  const std::vector<std::uint8_t> bytes = EncodeImage(image, format, comp);
  TReplacingFile file(fileName);
  file.Append(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  file.Commit();
}

}  // namespace vlm
