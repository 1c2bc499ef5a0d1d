#include "compose/image_png.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "compose/png_row_filters.h"

namespace vlm {
namespace {

constexpr std::size_t kMaxIdatChunk = 1 << 20;
constexpr int kMaxLevel = 12;
constexpr int kWeighingLevel = 10;
// A picture is noise when at least 19 of each 20 rows are.
constexpr std::size_t kNoiseShare = 19;
constexpr std::size_t kNoiseShareOf = 20;

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
TUninitializedBytes Deflate(const TUninitializedBytes& data, int level) {
  const std::unique_ptr<libdeflate_compressor, TCompressorFree> compressor(
      libdeflate_alloc_compressor(level));
  if (!compressor) throw EImageEncode("cannot start the deflate compressor");
  TUninitializedBytes stream(libdeflate_zlib_compress_bound(compressor.get(), data.size()));
  const std::size_t size = libdeflate_zlib_compress(compressor.get(), data.data(), data.size(),
                                                    stream.data(), stream.size());
  if (size == 0) throw EImageEncode("deflate failed");
  stream.resize(size);
  return stream;
}

struct TDeflateEnd {
  void operator()(z_stream* stream) const { deflateEnd(stream); }
};

// The zlib stream of noise-like image data (a photograph): each byte Huffman-coded, with only
// runs of one repeated byte taken as matches. Deflate's search for earlier copies finds only
// short chance matches in noise, which cost more bits than the bytes they stand for; this codes
// such data smaller, and faster. zlib's largest memory level gives the codes the longest blocks.
TUninitializedBytes DeflateNoise(const TUninitializedBytes& data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, MAX_WBITS, MAX_MEM_LEVEL, Z_RLE) !=
      Z_OK)
    throw EImageEncode("cannot start the deflate compressor");
  const std::unique_ptr<z_stream, TDeflateEnd> started(&stream);
  TUninitializedBytes out(deflateBound(&stream, static_cast<uLong>(data.size())));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) throw EImageEncode("deflate failed");
  out.resize(stream.total_out);
  return out;
}

// A picture nearly all of whose rows are noise under every filter.
bool IsNoise(const TFilteredRows& rows, int height) {
  return rows.NoisyRows * kNoiseShareOf >= static_cast<std::size_t>(height) * kNoiseShare;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const TBitmapImage& image, int level) {
  image.Validate();
  level = std::clamp(level, 0, kMaxLevel);
  const TFilteredRows rows = FilterRows(image, level > 0);
  // From level 10 on libdeflate weighs each match by its cost itself, and codes noise smaller
  // still, at several times the time.
  const bool noise = level > 0 && level < kWeighingLevel && IsNoise(rows, image.Height);
  const TUninitializedBytes stream = noise ? DeflateNoise(rows.Data) : Deflate(rows.Data, level);

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
