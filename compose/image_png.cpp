#include "compose/image_png.h"

#include <libdeflate.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "compose/png_row_filters.h"

namespace vlm {
namespace {

constexpr std::size_t kMaxIdatChunk = 1 << 20;
constexpr int kMaxLevel = 12;

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type, const std::uint8_t* data,
              std::size_t size) {
  PutBig32(out, static_cast<std::uint32_t>(size));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data, data + size);
  PutBig32(out, libdeflate_crc32(0, out.data() + typeAt, size + 4));
}

struct TCompressorFree {
  void operator()(libdeflate_compressor* compressor) const {
    libdeflate_free_compressor(compressor);
  }
};

// The zlib stream of the whole filtered image data (libdeflate compresses whole buffers only).
std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data, int level) {
  const std::unique_ptr<libdeflate_compressor, TCompressorFree> compressor(
      libdeflate_alloc_compressor(level));
  if (!compressor) throw EImageEncode("cannot start the deflate compressor");
  std::vector<std::uint8_t> stream(libdeflate_zlib_compress_bound(compressor.get(), data.size()));
  const std::size_t size = libdeflate_zlib_compress(compressor.get(), data.data(), data.size(),
                                                    stream.data(), stream.size());
  if (size == 0) throw EImageEncode("deflate failed");
  stream.resize(size);
  return stream;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const TBitmapImage& image, int level) {
  image.Validate();
  level = std::clamp(level, 0, kMaxLevel);
  const std::vector<std::uint8_t> stream = Deflate(FilterRows(image, level > 0), level);

  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.reserve(stream.size() + stream.size() / kMaxIdatChunk * 12 + 64);
  std::vector<std::uint8_t> header;
  PutBig32(header, static_cast<std::uint32_t>(image.Width));
  PutBig32(header, static_cast<std::uint32_t>(image.Height));
  header.insert(header.end(),
                {8, 2, 0, 0, 0});  // 8 bits, truecolour, deflate, filtered, not interlaced
  PutChunk(out, "IHDR", header.data(), header.size());
  for (std::size_t at = 0; at < stream.size(); at += kMaxIdatChunk)
    PutChunk(out, "IDAT", stream.data() + at, std::min(kMaxIdatChunk, stream.size() - at));
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace vlm
