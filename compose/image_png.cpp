#include "compose/image_png.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <iterator>
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

void PutBig32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// One chunk to the sink: its length and type, its data, and the CRC of type and data.
void PutChunk(const TByteSink& sink, std::string_view type, const std::uint8_t* data,
              std::size_t size) {
  std::uint8_t head[8];
  PutBig32(head, static_cast<std::uint32_t>(size));
  std::copy(type.begin(), type.end(), head + 4);
  std::uint32_t crc = libdeflate_crc32(0, head + 4, 4);
  if (size > 0) crc = libdeflate_crc32(crc, data, size);  // a null buffer would restart it
  std::uint8_t tail[4];
  PutBig32(tail, crc);
  sink(head, sizeof head);
  if (size > 0) sink(data, size);
  sink(tail, sizeof tail);
}

// The zlib stream in IDAT chunks of at most 1 MB.
void PutImageData(const TByteSink& sink, const std::uint8_t* stream, std::size_t size) {
  for (std::size_t at = 0; at < size; at += kMaxIdatChunk)
    PutChunk(sink, "IDAT", stream + at, std::min(kMaxIdatChunk, size - at));
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
// zlib's output goes to the sink an IDAT chunk at a time: the chunks are the same as from the
// whole stream at once.
void DeflateNoise(const TUninitializedBytes& data, const TByteSink& sink) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, MAX_WBITS, MAX_MEM_LEVEL, Z_RLE) !=
      Z_OK)
    throw EImageEncode("cannot start the deflate compressor");
  const std::unique_ptr<z_stream, TDeflateEnd> started(&stream);
  TUninitializedBytes chunk(kMaxIdatChunk);
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  for (int result = Z_OK; result != Z_STREAM_END;) {
    stream.next_out = chunk.data();
    stream.avail_out = static_cast<uInt>(chunk.size());
    result = deflate(&stream, Z_FINISH);
    if (result != Z_OK && result != Z_STREAM_END) throw EImageEncode("deflate failed");
    PutImageData(sink, chunk.data(), chunk.size() - stream.avail_out);
  }
}

// A picture nearly all of whose rows are noise under every filter.
bool IsNoise(const TFilteredRows& rows, int height) {
  return rows.NoisyRows * kNoiseShareOf >= static_cast<std::size_t>(height) * kNoiseShare;
}

}  // namespace

void EncodePng(const TBitmapImage& image, int level, const TByteSink& sink) {
  image.Validate();
  level = std::clamp(level, 0, kMaxLevel);
  const TFilteredRows rows = FilterRows(image, level > 0);
  // From level 10 on libdeflate weighs each match by its cost itself, and codes noise smaller
  // still, at several times the time.
  const bool noise = level > 0 && level < kWeighingLevel && IsNoise(rows, image.Height);

  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  sink(kSignature, sizeof kSignature);
  std::uint8_t header[13];
  PutBig32(header, static_cast<std::uint32_t>(image.Width));
  PutBig32(header + 4, static_cast<std::uint32_t>(image.Height));
  // 8 bits, truecolour, deflate, filtered, not interlaced.
  const std::uint8_t kinds[] = {8, 2, 0, 0, 0};
  std::copy(std::begin(kinds), std::end(kinds), header + 8);
  PutChunk(sink, "IHDR", header, sizeof header);
  if (noise) {
    DeflateNoise(rows.Data, sink);
  } else {
    const TUninitializedBytes stream = Deflate(rows.Data, level);
    PutImageData(sink, stream.data(), stream.size());
  }
  PutChunk(sink, "IEND", nullptr, 0);
}

std::vector<std::uint8_t> EncodePng(const TBitmapImage& image, int level) {
  return CollectBytes([&](const TByteSink& sink) { EncodePng(image, level, sink); });
}

}  // namespace vlm
