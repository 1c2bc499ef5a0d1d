#include "compose/image_gif.h"

#include <algorithm>
#include <array>

#include "compose/image_quantize.h"

namespace vlm {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

// Variable-length codes packed least significant bit first.
class TCodeWriter {
 public:
  void Put(int code, int bits) {
    FBits |= static_cast<std::uint64_t>(code) << FCount;
    FCount += bits;
    while (FCount >= 8) {
      FBytes.push_back(static_cast<std::uint8_t>(FBits));
      FBits >>= 8;
      FCount -= 8;
    }
  }

  std::vector<std::uint8_t> Finish() {
    if (FCount > 0) FBytes.push_back(static_cast<std::uint8_t>(FBits));
    return std::move(FBytes);
  }

 private:
  std::vector<std::uint8_t> FBytes;
  std::uint64_t FBits = 0;
  int FCount = 0;
};

// The string table: (prefix code, next index) -> code in an open-addressing hash of 8192 entries
// (32 KB, twice the codes it ever holds). It stays in the processor's near caches where a table
// indexed by every prefix and index (4 MB) missed them on nearly every look-up, and clearing it
// on a reset is cheap.
class TStringTable {
 public:
  TStringTable() { Reset(); }

  void Reset() { FEntries.fill(kEmpty); }

  int Find(int prefix, int index) const {
    const std::uint32_t key = Key(prefix, index);
    for (std::size_t slot = Slot(key);; slot = (slot + 1) & (kSlots - 1)) {
      const std::uint32_t entry = FEntries[slot];
      if (entry == kEmpty) return -1;
      if (entry >> kMaxCodeBits == key) return static_cast<int>(entry & (kTableSize - 1));
    }
  }

  void Add(int prefix, int index, int code) {
    const std::uint32_t key = Key(prefix, index);
    std::size_t slot = Slot(key);
    while (FEntries[slot] != kEmpty) slot = (slot + 1) & (kSlots - 1);
    FEntries[slot] = (key << kMaxCodeBits) | static_cast<std::uint32_t>(code);
  }

 private:
  static constexpr std::size_t kSlots = 2 * kTableSize;
  // No entry is all ones: its code would be 4095 with prefix 4095, and a code is never its own
  // prefix.
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

  static std::uint32_t Key(int prefix, int index) {
    return (static_cast<std::uint32_t>(prefix) << 8) | static_cast<std::uint32_t>(index);
  }
  static std::size_t Slot(std::uint32_t key) { return (key * 2654435761u) >> 19; }

  std::array<std::uint32_t, kSlots> FEntries;
};

std::vector<std::uint8_t> Lzw(const TUninitializedBytes& indices, int minCodeBits) {
  const int clear = 1 << minCodeBits;
  const int end = clear + 1;
  TCodeWriter writer;
  TStringTable table;
  int bits = minCodeBits + 1;
  int next = clear + 2;
  writer.Put(clear, bits);
  int current = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const int index = indices[i];
    const int found = table.Find(current, index);
    if (found >= 0) {
      current = found;
      continue;
    }
    writer.Put(current, bits);
    const int code = next++;
    table.Add(current, index, code);
    if (code >= (1 << bits)) ++bits;
    if (code == kTableSize - 1) {
      // The table is full: start again rather than go on with a frozen table.
      writer.Put(clear, bits);
      table.Reset();
      bits = minCodeBits + 1;
      next = clear + 2;
    }
    current = index;
  }
  writer.Put(current, bits);
  // The decoder adds one more entry on reading that last code, and may widen its codes for it.
  if (next >= (1 << bits) && bits < kMaxCodeBits && next != clear + 2) ++bits;
  writer.Put(end, bits);
  return writer.Finish();
}

void Put16(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

std::vector<std::uint8_t> EncodeGif(const TBitmapImage& image) {
  image.Validate();
  if (image.Width > 65535 || image.Height > 65535) throw EImageEncode("picture too large for GIF");
  TIndexedImage indexed = QuantizeColours(image);
  int tableBits = 1;
  while ((std::size_t{1} << tableBits) < indexed.Palette.size()) ++tableBits;
  indexed.Palette.resize(std::size_t{1} << tableBits, {0, 0, 0});
  const int minCodeBits = std::max(2, tableBits);

  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, image.Width);
  Put16(out, image.Height);
  out.push_back(static_cast<std::uint8_t>(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));
  out.push_back(0);  // background colour
  out.push_back(0);  // square pixels
  for (const auto& colour : indexed.Palette) out.insert(out.end(), colour.begin(), colour.end());
  out.push_back(0x2C);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, image.Width);
  Put16(out, image.Height);
  out.push_back(0);  // no local colour table, not interlaced
  out.push_back(static_cast<std::uint8_t>(minCodeBits));
  const std::vector<std::uint8_t> data = Lzw(indexed.Indices, minCodeBits);
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t size = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(size));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  out.push_back(0);     // end of the image data
  out.push_back(0x3B);  // trailer
  return out;
}

}  // namespace vlm
