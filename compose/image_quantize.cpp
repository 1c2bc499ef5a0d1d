#include "compose/image_quantize.h"

#include <algorithm>
#include <cstring>

namespace vlm {
namespace {

constexpr std::size_t kMaxColours = 256;
using TColour = std::array<std::uint8_t, 3>;  // red, green, blue

std::uint32_t Pack(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r) << 16) | (g << 8) | b;
}

// Palette colours by value: a small open-addressing table.
class TColourIndex {
 public:
  TColourIndex() { FKeys.fill(kEmpty); }

  // The index of `colour`, adding it when there is room; -1 when the table holds 256 others.
  int Find(std::uint32_t colour, bool add) {
    std::size_t slot = Hash(colour);
    while (FKeys[slot] != kEmpty) {
      if (FKeys[slot] == colour) return FValues[slot];
      slot = (slot + 1) & (kSlots - 1);
    }
    if (!add || FCount == kMaxColours) return -1;
    FKeys[slot] = colour;
    FValues[slot] = static_cast<std::uint8_t>(FCount);
    return static_cast<int>(FCount++);
  }

 private:
  static constexpr std::size_t kSlots = 1024;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static std::size_t Hash(std::uint32_t c) { return (c * 2654435761u) >> 22; }

  std::array<std::uint32_t, kSlots> FKeys;
  std::array<std::uint8_t, kSlots> FValues{};
  std::size_t FCount = 0;
};

// The picture's own colours when there are at most 256 of them.
bool TryExactColours(const TBitmapImage& image, TIndexedImage& result) {
  TColourIndex index;
  result.Indices.resize(static_cast<std::size_t>(image.Width) * image.Height);
  std::uint8_t* out = result.Indices.data();
  std::uint32_t previous = 0xFFFFFFFFu;
  int previousIndex = 0;
  const int step = image.BytesPerPixel();
  for (int y = 0; y < image.Height; ++y) {
    const std::uint8_t* p = image.Row(y);
    for (int x = 0; x < image.Width; ++x, p += step) {
      const std::uint32_t colour = Pack(p[2], p[1], p[0]);
      if (colour != previous) {
        previousIndex = index.Find(colour, true);
        if (previousIndex < 0) return false;
        previous = colour;
        if (static_cast<std::size_t>(previousIndex) == result.Palette.size())
          result.Palette.push_back({p[2], p[1], p[0]});
      }
      *out++ = static_cast<std::uint8_t>(previousIndex);
    }
  }
  return true;
}

// Histogram cells of 5 bits per channel.
struct TCell {
  std::uint64_t Count = 0;
  std::array<std::uint64_t, 3> Sum{};
  std::array<double, 3> Mean{};
};

struct TBox {
  std::size_t Begin, End;  // range of the cell list
  double Error;            // sum of squared distances of the pixels to the box mean
};

double BoxError(const std::vector<TCell*>& cells, std::size_t begin, std::size_t end) {
  double n = 0, squares = 0;
  std::array<double, 3> sum{};
  for (std::size_t i = begin; i < end; ++i) {
    const TCell& c = *cells[i];
    const double w = static_cast<double>(c.Count);
    n += w;
    for (int k = 0; k < 3; ++k) {
      sum[k] += w * c.Mean[k];
      squares += w * c.Mean[k] * c.Mean[k];
    }
  }
  return squares - (sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]) / n;
}

// Splits a box of two or more cells along its widest-spread channel at the point that
// leaves the least squared error on that channel; answers the position of the split.
std::size_t SplitBox(std::vector<TCell*>& cells, const TBox& box) {
  std::array<double, 3> variance{};
  double n = 0;
  std::array<double, 3> sum{}, squares{};
  for (std::size_t i = box.Begin; i < box.End; ++i) {
    const double w = static_cast<double>(cells[i]->Count);
    n += w;
    for (int k = 0; k < 3; ++k) {
      sum[k] += w * cells[i]->Mean[k];
      squares[k] += w * cells[i]->Mean[k] * cells[i]->Mean[k];
    }
  }
  for (int k = 0; k < 3; ++k) variance[k] = squares[k] - sum[k] * sum[k] / n;
  const int axis =
      static_cast<int>(std::max_element(variance.begin(), variance.end()) - variance.begin());
  std::sort(cells.begin() + box.Begin, cells.begin() + box.End,
            [axis](const TCell* a, const TCell* b) { return a->Mean[axis] < b->Mean[axis]; });
  // The best split maximises sumLeft^2/nLeft + sumRight^2/nRight.
  double nLeft = 0, sumLeft = 0, best = -1;
  std::size_t at = box.Begin + 1;
  for (std::size_t i = box.Begin; i + 1 < box.End; ++i) {
    const double w = static_cast<double>(cells[i]->Count);
    nLeft += w;
    sumLeft += w * cells[i]->Mean[axis];
    const double sumRight = sum[axis] - sumLeft, nRight = n - nLeft;
    const double score = sumLeft * sumLeft / nLeft + sumRight * sumRight / nRight;
    if (score > best) {
      best = score;
      at = i + 1;
    }
  }
  return at;
}

std::vector<TColour> MedianCutPalette(const TBitmapImage& image) {
  std::vector<TCell> histogram(1 << 15);
  const int step = image.BytesPerPixel();
  for (int y = 0; y < image.Height; ++y) {
    const std::uint8_t* p = image.Row(y);
    for (int x = 0; x < image.Width; ++x, p += step) {
      TCell& c = histogram[((p[2] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[0] >> 3)];
      ++c.Count;
      c.Sum[0] += p[2];
      c.Sum[1] += p[1];
      c.Sum[2] += p[0];
    }
  }
  std::vector<TCell*> cells;
  for (TCell& c : histogram) {
    if (c.Count == 0) continue;
    for (int k = 0; k < 3; ++k)
      c.Mean[k] = static_cast<double>(c.Sum[k]) / static_cast<double>(c.Count);
    cells.push_back(&c);
  }
  std::vector<TBox> boxes = {{0, cells.size(), BoxError(cells, 0, cells.size())}};
  while (boxes.size() < kMaxColours) {
    auto worst = std::max_element(boxes.begin(), boxes.end(),
                                  [](const TBox& a, const TBox& b) { return a.Error < b.Error; });
    if (worst->End - worst->Begin < 2 || worst->Error <= 0) break;
    const TBox box = *worst;
    const std::size_t at = SplitBox(cells, box);
    *worst = {box.Begin, at, BoxError(cells, box.Begin, at)};
    boxes.push_back({at, box.End, BoxError(cells, at, box.End)});
  }
  std::vector<TColour> palette;
  for (const TBox& box : boxes) {
    std::uint64_t n = 0;
    std::array<std::uint64_t, 3> sum{};
    for (std::size_t i = box.Begin; i < box.End; ++i) {
      n += cells[i]->Count;
      for (int k = 0; k < 3; ++k) sum[k] += cells[i]->Sum[k];
    }
    TColour colour;
    for (int k = 0; k < 3; ++k) colour[k] = static_cast<std::uint8_t>((sum[k] + n / 2) / n);
    palette.push_back(colour);
  }
  return palette;
}

// Nearest palette colour: exact palette colours answer themselves; other colours answer the
// colour nearest to the centre of their cell of 6 bits per channel, found once per cell. A cell
// also records whether a palette colour lies in it: only then can a colour be exact, so the
// other cells, nearly all of them, skip the look-up of the exact colour.
class TNearestColour {
 public:
  explicit TNearestColour(const std::vector<TColour>& palette)
      : FByGreen(ByGreen(palette)), FCells(1 << 18, kUnknown) {
    for (const TColour& c : palette) {
      FExact.Find(Pack(c[0], c[1], c[2]), true);
      FCells[CellOf(c[0], c[1], c[2])] |= kHoldsPaletteColour;
    }
  }

  int operator()(int r, int g, int b) {
    std::uint16_t& cell = FCells[CellOf(r, g, b)];
    if (cell & kHoldsPaletteColour) {
      const int exact = FExact.Find(Pack(r, g, b), false);
      if (exact >= 0) return exact;
    }
    if ((cell & kAnswer) == kUnknown)
      cell = static_cast<std::uint16_t>((cell & kHoldsPaletteColour) |
                                        Search((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2));
    return cell & kAnswer;
  }

 private:
  static constexpr std::uint16_t kHoldsPaletteColour = 0x8000;
  static constexpr std::uint16_t kAnswer = 0x7FFF;
  static constexpr std::uint16_t kUnknown = kAnswer;

  static std::size_t CellOf(int r, int g, int b) {
    return static_cast<std::size_t>(((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2));
  }

  // A palette colour with its index, the entries kept in order of green.
  struct TEntry {
    int Green, Red, Blue, Index;
  };

  static std::vector<TEntry> ByGreen(const std::vector<TColour>& palette) {
    std::vector<TEntry> entries;
    for (std::size_t i = 0; i < palette.size(); ++i)
      entries.push_back({palette[i][1], palette[i][0], palette[i][2], static_cast<int>(i)});
    std::sort(entries.begin(), entries.end(),
              [](const TEntry& a, const TEntry& b) { return a.Green < b.Green; });
    return entries;
  }

  // The nearest palette colour, of the lowest index among equally near ones. The search runs
  // outward from the wanted green and stops on each side where the green difference alone is
  // further than the best colour so far: a few dozen distances instead of all 256.
  std::uint16_t Search(int r, int g, int b) const {
    int best = 0, bestDistance = 1 << 30;
    // False once the entry, and every one beyond it on that side, is too far in green.
    const auto consider = [&](const TEntry& e) {
      const int dg = g - e.Green;
      if (dg * dg > bestDistance) return false;
      const int dr = r - e.Red, db = b - e.Blue;
      const int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance || (distance == bestDistance && e.Index < best)) {
        bestDistance = distance;
        best = e.Index;
      }
      return true;
    };
    const auto start = std::lower_bound(FByGreen.begin(), FByGreen.end(), g,
                                        [](const TEntry& e, int green) { return e.Green < green; });
    for (auto up = start; up != FByGreen.end() && consider(*up); ++up) {
    }
    for (auto down = start; down != FByGreen.begin() && consider(*(down - 1)); --down) {
    }
    return static_cast<std::uint16_t>(best);
  }

  std::vector<TEntry> FByGreen;
  TColourIndex FExact;
  std::vector<std::uint16_t> FCells;
};

// Floyd-Steinberg error diffusion onto `palette` into `indices` (Width x Height already), errors
// kept in sixteenths.
void Dither(const TBitmapImage& image, const std::vector<TColour>& palette,
            TUninitializedBytes& indices) {
  TNearestColour nearest(palette);
  const std::size_t slots = (static_cast<std::size_t>(image.Width) + 2) * 3;
  std::vector<int> current(slots, 0), next(slots, 0);
  const int step = image.BytesPerPixel();
  std::uint8_t* out = indices.data();
  for (int y = 0; y < image.Height; ++y) {
    const std::uint8_t* p = image.Row(y);
    std::fill(next.begin(), next.end(), 0);
    for (int x = 0; x < image.Width; ++x, p += step) {
      int* here = &current[(x + 1) * 3];
      const int source[3] = {p[2], p[1], p[0]};
      int wanted[3];
      for (int k = 0; k < 3; ++k) wanted[k] = std::clamp(source[k] + ((here[k] + 8) >> 4), 0, 255);
      const int index = nearest(wanted[0], wanted[1], wanted[2]);
      *out++ = static_cast<std::uint8_t>(index);
      int* below = &next[x * 3];
      for (int k = 0; k < 3; ++k) {
        const int error = wanted[k] - palette[index][k];
        here[3 + k] += error * 7;
        below[k] += error * 3;
        below[3 + k] += error * 5;
        below[6 + k] += error;
      }
    }
    std::swap(current, next);
  }
}

}  // namespace

TIndexedImage QuantizeColours(const TBitmapImage& image) {
  image.Validate();
  TIndexedImage result;
  if (TryExactColours(image, result)) return result;
  result.Palette = MedianCutPalette(image);
  // The indices of the exact attempt are overwritten: no second buffer of the picture's size.
  Dither(image, result.Palette, result.Indices);
  return result;
}

}  // namespace vlm
