#include "compose/png_row_filters.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace vlm {
namespace {

constexpr std::size_t kChannels = 3;

enum TRowFilter : std::uint8_t { rfNone = 0, rfSub = 1, rfUp = 2, rfAverage = 3, rfPaeth = 4 };
constexpr int kFilterCount = 5;

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

// `row` under `filter` into `out`; `prior` is the row above (zeros for the top row). All three
// hold `length` bytes.
void Filter(TRowFilter filter, const std::uint8_t* row, const std::uint8_t* prior,
            std::uint8_t* out, std::size_t length) {
  const std::size_t first = std::min(kChannels, length);
  switch (filter) {
    case rfNone:
      std::memcpy(out, row, length);
      return;
    case rfSub:
      std::memcpy(out, row, first);
      for (std::size_t i = kChannels; i < length; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - row[i - kChannels]);
      return;
    case rfUp:
      for (std::size_t i = 0; i < length; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - prior[i]);
      return;
    case rfAverage:
      for (std::size_t i = 0; i < first; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - (prior[i] >> 1));
      for (std::size_t i = kChannels; i < length; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - ((row[i - kChannels] + prior[i]) >> 1));
      return;
    case rfPaeth:
      for (std::size_t i = 0; i < first; ++i) out[i] = static_cast<std::uint8_t>(row[i] - prior[i]);
      for (std::size_t i = kChannels; i < length; ++i)
        out[i] = static_cast<std::uint8_t>(
            row[i] - Paeth(row[i - kChannels], prior[i], prior[i - kChannels]));
      return;
  }
}

// Counts the distinct pairs of neighbouring bytes in a row, one bit per pair value. The 8 KB of
// bits stay in the first-level cache, and the count is taken without a branch on whether a pair
// was seen before: in noisy rows that branch is a coin toss the processor mostly guesses wrong.
class TPairCounter {
 public:
  // The count, or `limit` once the count reaches it (the row has lost to a better one then).
  std::size_t Count(const std::uint8_t* bytes, std::size_t length, std::size_t limit) {
    FSeen.fill(0);
    std::size_t distinct = 0;
    for (std::size_t i = 1; i < length; ++i) {
      const unsigned pair = static_cast<unsigned>(bytes[i - 1]) << 8 | bytes[i];
      std::uint64_t& word = FSeen[pair >> 6];
      const std::uint64_t bit = std::uint64_t{1} << (pair & 63);
      distinct += (word & bit) == 0;
      word |= bit;
      if (distinct >= limit) return limit;
    }
    return distinct;
  }

 private:
  std::array<std::uint64_t, (1 << 16) / 64> FSeen{};
};

constexpr std::size_t kNoisyShare = 16;
// Differences are summed in 32 bits over spans this long (at most 2^24 x 128 = 2^31): 32-bit
// sums vectorise four to a register where 64-bit ones take two.
constexpr std::size_t kSumSpan = std::size_t{1} << 24;

// The filter whose bytes, taken as signed differences, sum to the least: the usual rule, and the
// better one for noisy rows, where deflate mostly codes single bytes.
TRowFilter SmallestDifferences(const std::array<std::vector<std::uint8_t>, kFilterCount>& rows,
                               std::size_t length) {
  TRowFilter best = rfNone;
  std::uint64_t least = ~std::uint64_t{0};
  for (int f = rfNone; f < kFilterCount; ++f) {
    std::uint64_t sum = 0;
    for (std::size_t start = 0; start < length; start += kSumSpan) {
      const std::size_t end = std::min(length, start + kSumSpan);
      std::uint32_t part = 0;
      for (std::size_t i = start; i < end; ++i)
        part += static_cast<std::uint32_t>(std::abs(static_cast<std::int8_t>(rows[f][i])));
      sum += part;
    }
    if (sum < least) {
      least = sum;
      best = static_cast<TRowFilter>(f);
    }
  }
  return best;
}

}  // namespace

TFilteredRows FilterRows(const TBitmapImage& image, bool choose) {
  const std::size_t length = static_cast<std::size_t>(image.Width) * kChannels;
  TFilteredRows filtered;
  TUninitializedBytes& data = filtered.Data;
  data.resize((length + 1) * static_cast<std::size_t>(image.Height));
  std::vector<std::uint8_t> prior(length, 0), row(length);
  std::array<std::vector<std::uint8_t>, kFilterCount> candidates;
  for (auto& c : candidates) c.resize(length);
  TPairCounter pairs;
  // A row that holds this many distinct pairs under every filter is noise to deflate (a photo):
  // counting further would cost the most time for the least gain, and the sum of differences
  // chooses as well there.
  const std::size_t noisy = std::max<std::size_t>(length / kNoisyShare, 2);
  std::uint8_t* out = data.data();
  for (int y = 0; y < image.Height; ++y, out += length + 1) {
    ToRgb(image, y, row.data());
    TRowFilter best = rfNone;
    if (choose) {
      std::size_t fewest = length + 1;
      for (int f = rfNone; f < kFilterCount; ++f) {
        const auto filter = static_cast<TRowFilter>(f);
        Filter(filter, row.data(), prior.data(), candidates[f].data(), length);
        const std::size_t count =
            pairs.Count(candidates[f].data(), length, std::min(fewest, noisy));
        if (count < fewest) {
          fewest = count;
          best = filter;
        }
      }
      if (fewest >= noisy) {
        best = SmallestDifferences(candidates, length);
        ++filtered.NoisyRows;
      }
    }
    out[0] = best;
    std::memcpy(out + 1, best == rfNone ? row.data() : candidates[best].data(), length);
    std::swap(prior, row);
  }
  return filtered;
}

}  // namespace vlm
