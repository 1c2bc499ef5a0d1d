#include "compose/image_png.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace vlm {
namespace {

constexpr std::size_t kChannels = 3;
constexpr std::size_t kMaxIdatChunk = 1 << 20;

enum TRowFilter : std::uint8_t { rfNone = 0, rfSub = 1, rfUp = 2, rfAverage = 3, rfPaeth = 4 };

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
  const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(size + 4));
  PutBig32(out, static_cast<std::uint32_t>(crc));
}

// One picture row as red, green, blue bytes.
void ToRgb(const TBitmapImage& image, int y, std::uint8_t* rgb) {
  const std::uint8_t* src = image.Row(y);
  const int step = image.BytesPerPixel();
  for (int x = 0; x < image.Width; ++x, src += step, rgb += kChannels) {
    rgb[0] = src[2];
    rgb[1] = src[1];
    rgb[2] = src[0];
  }
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// The filtered bytes of one row under each filter; `prior` is the row above (zeros for the top
// row), `row` this row, both `length` bytes.
struct TFilteredRows {
  std::array<std::vector<std::uint8_t>, 5> Bytes;

  explicit TFilteredRows(std::size_t length) {
    for (auto& b : Bytes) b.resize(length);
  }

  void Filter(const std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
    std::uint8_t* sub = Bytes[rfSub].data();
    std::uint8_t* up = Bytes[rfUp].data();
    std::uint8_t* avg = Bytes[rfAverage].data();
    std::uint8_t* paeth = Bytes[rfPaeth].data();
    std::memcpy(Bytes[rfNone].data(), row, length);
    for (std::size_t i = 0; i < kChannels; ++i) {
      sub[i] = row[i];
      up[i] = static_cast<std::uint8_t>(row[i] - prior[i]);
      avg[i] = static_cast<std::uint8_t>(row[i] - (prior[i] >> 1));
      paeth[i] = static_cast<std::uint8_t>(row[i] - prior[i]);
    }
    for (std::size_t i = kChannels; i < length; ++i) {
      const int a = row[i - kChannels], b = prior[i], c = prior[i - kChannels];
      sub[i] = static_cast<std::uint8_t>(row[i] - a);
      up[i] = static_cast<std::uint8_t>(row[i] - b);
      avg[i] = static_cast<std::uint8_t>(row[i] - ((a + b) >> 1));
      paeth[i] = static_cast<std::uint8_t>(row[i] - Paeth(a, b, c));
    }
  }

  // Smallest sum of the bytes taken as signed differences.
  TRowFilter Best() const {
    TRowFilter best = rfNone;
    std::uint64_t bestSum = ~std::uint64_t{0};
    for (int f = rfNone; f <= rfPaeth; ++f) {
      std::uint64_t sum = 0;
      for (std::uint8_t v : Bytes[f])
        sum += static_cast<std::uint64_t>(std::abs(static_cast<std::int8_t>(v)));
      if (sum < bestSum) {
        bestSum = sum;
        best = static_cast<TRowFilter>(f);
      }
    }
    return best;
  }
};

// Filtered rows are small differences: the filtered strategy (libpng's default too) drops the
// shortest matches, which cost more than they save on such data.
class TDeflater {
 public:
  explicit TDeflater(int level) {
    if (deflateInit2(&FStream, level, Z_DEFLATED, 15, 9, Z_FILTERED) != Z_OK)
      throw EImageEncode("cannot start the deflate compressor");
  }
  ~TDeflater() { deflateEnd(&FStream); }
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;

  void Add(const std::uint8_t* data, std::size_t size, bool last) {
    FStream.next_in = const_cast<Bytef*>(data);
    FStream.avail_in = static_cast<uInt>(size);
    int result;
    do {
      if (FOut.size() - FStream.total_out < 64 * 1024)
        FOut.resize(FOut.size() + std::max<std::size_t>(FOut.size() / 2, 1 << 20));
      FStream.next_out = FOut.data() + FStream.total_out;
      FStream.avail_out = static_cast<uInt>(FOut.size() - FStream.total_out);
      result = deflate(&FStream, last ? Z_FINISH : Z_NO_FLUSH);
      if (result == Z_STREAM_ERROR) throw EImageEncode("deflate failed");
    } while (FStream.avail_out == 0 || (last && result != Z_STREAM_END) || FStream.avail_in > 0);
  }

  // The complete deflate stream once Add(..., true) ran.
  std::vector<std::uint8_t> Take() {
    FOut.resize(FStream.total_out);
    return std::move(FOut);
  }

 private:
  z_stream FStream{};
  std::vector<std::uint8_t> FOut;
};

std::vector<std::uint8_t> CompressRows(const TBitmapImage& image, int level) {
  const std::size_t length = static_cast<std::size_t>(image.Width) * kChannels;
  std::vector<std::uint8_t> prior(length, 0), row(length);
  TFilteredRows filtered(length);
  TDeflater deflater(level);
  // Rows are handed to deflate in batches: per-row calls cost more than the copying.
  std::vector<std::uint8_t> batch;
  batch.reserve(std::min<std::size_t>(std::size_t{1} << 20, (length + 1) * image.Height) + length +
                1);
  for (int y = 0; y < image.Height; ++y) {
    ToRgb(image, y, row.data());
    TRowFilter filter = rfNone;
    if (level > 0) {
      filtered.Filter(row.data(), prior.data(), length);
      filter = filtered.Best();
    }
    batch.push_back(filter);
    const std::uint8_t* bytes = filter == rfNone ? row.data() : filtered.Bytes[filter].data();
    batch.insert(batch.end(), bytes, bytes + length);
    const bool last = y + 1 == image.Height;
    if (last || batch.size() >= (std::size_t{1} << 20)) {
      deflater.Add(batch.data(), batch.size(), last);
      batch.clear();
    }
    std::swap(prior, row);
  }
  return deflater.Take();
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const TBitmapImage& image, int level) {
  image.Validate();
  level = std::clamp(level, 0, 9);
  const std::vector<std::uint8_t> stream = CompressRows(image, level);

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
