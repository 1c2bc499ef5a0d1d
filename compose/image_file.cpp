#include "compose/image_file.h"

#include <optional>
#include <string_view>

#include "base/files.h"
#include "compose/image_bmp.h"
#include "compose/image_gif.h"
#include "compose/image_jpeg.h"
#include "compose/image_png.h"

namespace vlm {

namespace {

// The picture in `format`, handed to `sink` as it is made where the encoder can (JPEG, PNG).
void EncodeImageTo(const TBitmapImage& image, TImageFormat format, int comp,
                   const TByteSink& sink) {
  if (format == ifJpeg) return EncodeJpeg(image, JpegQuality(comp), sink);
  if (format == ifPng) {
    const auto pixels = static_cast<std::uint64_t>(image.Width) * image.Height;
    return EncodePng(image, PngCompressionLevel(comp, pixels), sink);
  }
  const std::vector<std::uint8_t> bytes = format == ifGif ? EncodeGif(image) : EncodeBmp(image);
  sink(bytes.data(), bytes.size());
}

}  // namespace

std::vector<std::uint8_t> EncodeImage(const TBitmapImage& image, TImageFormat format, int comp) {
  return CollectBytes([&](const TByteSink& sink) { EncodeImageTo(image, format, comp, sink); });
}

void WriteImageFile(const TBitmapImage& image, TImageFormat format, int comp,
                    const std::wstring& fileName) {
  // The file is made with the first bytes, so a picture the format cannot hold fails before any
  // file is made.
  std::optional<TReplacingFile> file;
  EncodeImageTo(image, format, comp, [&](const std::uint8_t* data, std::size_t size) {
    if (!file) file.emplace(fileName);
    file->Append(std::string_view(reinterpret_cast<const char*>(data), size));
  });
  if (!file) file.emplace(fileName);
  file->Commit();
}

}  // namespace vlm
