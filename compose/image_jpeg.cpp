#include "compose/image_jpeg.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace vlm {
namespace {

using TBlock = std::array<float, 64>;

// Natural (row-major) position of each zig-zag position.
constexpr std::array<std::uint8_t, 64> kZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

constexpr int Transposed(int i) {
  return (i % 8) * 8 + i / 8;
}

// Transposed position of each zig-zag position.
constexpr std::array<std::uint8_t, 64> kTransposedZigZag = [] {
  std::array<std::uint8_t, 64> table{};
  for (int i = 0; i < 64; ++i) table[i] = static_cast<std::uint8_t>(Transposed(kZigZag[i]));
  return table;
}();

// The example tables of the JPEG standard (Annex K), in natural order.
constexpr std::array<std::uint8_t, 64> kLumaQuant = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<std::uint8_t, 64> kChromaQuant = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Huffman tables of Annex K.3: code counts per length 1..16, then the symbols.
struct THuffmanDefinition {
  std::array<std::uint8_t, 16> Counts;
  std::vector<std::uint8_t> Symbols;
};

const THuffmanDefinition kLumaDc = {{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0},
                                    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
const THuffmanDefinition kChromaDc = {{0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0},
                                      {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
const THuffmanDefinition kLumaAc = {
    {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d},
    {0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
     0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
     0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25,
     0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45,
     0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64,
     0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
     0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
     0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6,
     0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3,
     0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8,
     0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};
const THuffmanDefinition kChromaAc = {
    {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77},
    {0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
     0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33,
     0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18,
     0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44,
     0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63,
     0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
     0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
     0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4,
     0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca,
     0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7,
     0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};

// Code and length for each symbol of one table.
struct THuffmanCodes {
  std::array<std::uint16_t, 256> Code{};
  std::array<std::uint8_t, 256> Length{};

  explicit THuffmanCodes(const THuffmanDefinition& definition) {
    std::uint16_t code = 0;
    std::size_t k = 0;
    for (int length = 1; length <= 16; ++length) {
      for (int i = 0; i < definition.Counts[length - 1]; ++i, ++k) {
        Code[definition.Symbols[k]] = code++;
        Length[definition.Symbols[k]] = static_cast<std::uint8_t>(length);
      }
      code = static_cast<std::uint16_t>(code << 1);
    }
  }
};

// Entropy-coded bits, with a zero byte stuffed after every 0xFF. Bytes go through a pointer into
// room made ahead with Reserve: appending to the vector byte by byte costs more than the coding.
class TBitWriter {
 public:
  explicit TBitWriter(std::vector<std::uint8_t>& out) : FOut(out) {}

  // Makes room for `bytes` more output bytes.
  void Reserve(std::size_t bytes) {
    if (FOut.size() - FLength >= bytes) return;
    FOut.resize(std::max(FOut.size() * 2, FLength + bytes));
  }

  void Put(std::uint32_t bits, int count) {
    FBits = (FBits << count) | bits;
    FCount += count;
    if (FCount >= 32) Drain();
  }

  // Pads the last byte with one bits, as the format requires, and trims the output.
  void Flush() {
    Reserve(16);
    const int pad = (8 - FCount % 8) % 8;
    Put((1u << pad) - 1, pad);
    while (FCount >= 8) PutByte(static_cast<std::uint8_t>(FBits >> (FCount -= 8)));
    FOut.resize(FLength);
  }

  void Start() { FLength = FOut.size(); }

 private:
  void PutByte(std::uint8_t byte) {
    FOut[FLength++] = byte;
    if (byte == 0xFF) FOut[FLength++] = 0;
  }

  void Drain() {
    const std::uint32_t word = static_cast<std::uint32_t>(FBits >> (FCount - 32));
    FCount -= 32;
    if (!HasFF(word)) {
      std::uint8_t* at = FOut.data() + FLength;
      at[0] = static_cast<std::uint8_t>(word >> 24);
      at[1] = static_cast<std::uint8_t>(word >> 16);
      at[2] = static_cast<std::uint8_t>(word >> 8);
      at[3] = static_cast<std::uint8_t>(word);
      FLength += 4;
      return;
    }
    for (int shift = 24; shift >= 0; shift -= 8) PutByte(static_cast<std::uint8_t>(word >> shift));
  }

  static bool HasFF(std::uint32_t word) {
    const std::uint32_t inverted = ~word;  // a 0xFF byte becomes a zero byte
    return ((inverted - 0x01010101u) & ~inverted & 0x80808080u) != 0;
  }

  std::vector<std::uint8_t>& FOut;
  std::size_t FLength = 0;
  std::uint64_t FBits = 0;
  int FCount = 0;
};

// One quantisation table in natural order, and the factors that fold the table and the scaling
// of the AAN transform into one multiplication per coefficient. The transform leaves its result
// transposed (horizontal frequency in the rows), so the factors and the zig-zag order of
// TransposedZigZag are laid out that way too.
struct TQuantizer {
  std::array<std::uint8_t, 64> Table{};
  std::array<float, 64> Factor{};  // transposed

  TQuantizer(const std::array<std::uint8_t, 64>& base, int quality) {
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    static constexpr std::array<double, 8> kAanScale = {1.0, 1.387039845, 1.306562965, 1.175875602,
                                                        1.0, 0.785694958, 0.541196100, 0.275899379};
    for (int i = 0; i < 64; ++i) {
      Table[i] = static_cast<std::uint8_t>(std::clamp((base[i] * scale + 50) / 100, 1, 255));
    }
    for (int i = 0; i < 64; ++i)
      Factor[Transposed(i)] =
          static_cast<float>(1.0 / (Table[i] * kAanScale[i / 8] * kAanScale[i % 8] * 8.0));
  }
};

// One-dimensional AAN forward DCT of the eight columns of a block at once (the loops run over
// the columns, so compilers vectorise them).
void DctColumns(float* d) {
  for (int c = 0; c < 8; ++c) {
    const float t0 = d[c] + d[56 + c], t7 = d[c] - d[56 + c];
    const float t1 = d[8 + c] + d[48 + c], t6 = d[8 + c] - d[48 + c];
    const float t2 = d[16 + c] + d[40 + c], t5 = d[16 + c] - d[40 + c];
    const float t3 = d[24 + c] + d[32 + c], t4 = d[24 + c] - d[32 + c];
    const float t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;
    d[c] = t10 + t11;
    d[32 + c] = t10 - t11;
    const float z1 = (t12 + t13) * 0.707106781f;
    d[16 + c] = t13 + z1;
    d[48 + c] = t13 - z1;
    const float s10 = t4 + t5, s11 = t5 + t6, s12 = t6 + t7;
    const float z5 = (s10 - s12) * 0.382683433f;
    const float z2 = 0.541196100f * s10 + z5;
    const float z4 = 1.306562965f * s12 + z5;
    const float z3 = s11 * 0.707106781f;
    const float z11 = t7 + z3, z13 = t7 - z3;
    d[40 + c] = z13 + z2;
    d[24 + c] = z13 - z2;
    d[8 + c] = z11 + z4;
    d[56 + c] = z11 - z4;
  }
}

void Transpose(float* d) {
  for (int r = 0; r < 8; ++r)
    for (int c = r + 1; c < 8; ++c) std::swap(d[r * 8 + c], d[c * 8 + r]);
}

// Fixed-point colour transform of JFIF, in tables of 16-bit fractions indexed by the channel
// value (luminance) or by the sum of a 2x2 square's four values (chrominance, whose transform is
// linear, so the sum stands for the square's mean).
struct TColourTables {
  std::array<std::int32_t, 256> YR, YG, YB;
  std::array<std::int32_t, 1021> CbR, CbG, CbB, CrG, CrB;  // Cr's red weight equals Cb's blue

  TColourTables() {
    auto fixed = [](double weight, int value) {
      return static_cast<std::int32_t>(std::lround(weight * value * 65536));
    };
    for (int v = 0; v < 256; ++v) {
      YR[v] = fixed(0.299, v);
      YG[v] = fixed(0.587, v);
      YB[v] = fixed(0.114, v) + 32768 - (128 << 16);  // rounding and the level shift
    }
    for (int v = 0; v < 1021; ++v) {
      CbR[v] = fixed(-0.168736 / 4, v);
      CbG[v] = fixed(-0.331264 / 4, v);
      CbB[v] = fixed(0.5 / 4, v) + 32768;
      CrG[v] = fixed(-0.418688 / 4, v);
      CrB[v] = fixed(-0.081312 / 4, v);
    }
  }
};

// The samples of the picture, level-shifted, as a luminance plane and two half-size chrominance
// planes, for one strip of 16 picture rows (one row of MCUs), padded by repeating the edges.
class TStripPlanes {
 public:
  explicit TStripPlanes(int mcuColumns) : FWidth(mcuColumns * 16) {
    FLuma.resize(static_cast<std::size_t>(FWidth) * 16);
    FCb.resize(static_cast<std::size_t>(FWidth / 2) * 8);
    FCr.resize(FCb.size());
  }

  void Fill(const TBitmapImage& image, int top) {
    const int step = image.BytesPerPixel();
    const TColourTables& t = FTables;
    for (int pair = 0; pair < 8; ++pair) {
      const std::uint8_t* row0 = image.Row(std::min(top + pair * 2, image.Height - 1));
      const std::uint8_t* row1 = image.Row(std::min(top + pair * 2 + 1, image.Height - 1));
      std::int16_t* luma0 = &FLuma[static_cast<std::size_t>(pair * 2) * FWidth];
      std::int16_t* luma1 = luma0 + FWidth;
      std::int16_t* cb = &FCb[static_cast<std::size_t>(pair) * (FWidth / 2)];
      std::int16_t* cr = &FCr[static_cast<std::size_t>(pair) * (FWidth / 2)];
      for (int x = 0; x < FWidth; x += 2) {
        const int xa = std::min(x, image.Width - 1) * step;
        const int xb = std::min(x + 1, image.Width - 1) * step;
        const std::uint8_t* p[4] = {row0 + xa, row0 + xb, row1 + xa, row1 + xb};
        std::int16_t* y[4] = {luma0 + x, luma0 + x + 1, luma1 + x, luma1 + x + 1};
        int r = 0, g = 0, b = 0;
        for (int k = 0; k < 4; ++k) {
          *y[k] = static_cast<std::int16_t>((t.YR[p[k][2]] + t.YG[p[k][1]] + t.YB[p[k][0]]) >> 16);
          r += p[k][2];
          g += p[k][1];
          b += p[k][0];
        }
        cb[x / 2] = static_cast<std::int16_t>((t.CbR[r] + t.CbG[g] + t.CbB[b]) >> 16);
        cr[x / 2] = static_cast<std::int16_t>((t.CbB[r] + t.CrG[g] + t.CrB[b]) >> 16);
      }
    }
  }

  // The 8x8 block whose top-left sample is at (x, y) of a plane.
  void LumaBlock(int x, int y, float* block) const { Copy(FLuma.data(), FWidth, x, y, block); }
  void CbBlock(int x, float* block) const { Copy(FCb.data(), FWidth / 2, x, 0, block); }
  void CrBlock(int x, float* block) const { Copy(FCr.data(), FWidth / 2, x, 0, block); }

 private:
  static void Copy(const std::int16_t* plane, int width, int x, int y, float* block) {
    for (int r = 0; r < 8; ++r) {
      const std::int16_t* from = plane + static_cast<std::size_t>(y + r) * width + x;
      for (int c = 0; c < 8; ++c) block[r * 8 + c] = from[c];
    }
  }

  int FWidth;
  std::vector<std::int16_t> FLuma, FCb, FCr;
  TColourTables FTables;
};

class TJpegEncoder {
 public:
  TJpegEncoder(int quality, std::vector<std::uint8_t>& out)
      : FLumaQuant(kLumaQuant, quality),
        FChromaQuant(kChromaQuant, quality),
        FLumaDc(kLumaDc),
        FChromaDc(kChromaDc),
        FLumaAc(kLumaAc),
        FChromaAc(kChromaAc),
        FOut(out),
        FBits(out) {}

  void WriteHeaders(int width, int height) {
    static constexpr std::uint8_t kJfif[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F',
                                             0,    1,    1,    0,    0, 1,  0,   1,   0,   0};
    FOut.insert(FOut.end(), std::begin(kJfif), std::end(kJfif));
    Marker(0xDB, 2 * 65);
    for (int id = 0; id < 2; ++id) {
      const TQuantizer& q = id == 0 ? FLumaQuant : FChromaQuant;
      FOut.push_back(static_cast<std::uint8_t>(id));
      for (std::uint8_t natural : kZigZag) FOut.push_back(q.Table[natural]);
    }
    Marker(0xC0, 15);
    FOut.insert(FOut.end(),
                {8, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                 static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width), 3, 1,
                 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
    const THuffmanDefinition* definitions[4] = {&kLumaDc, &kLumaAc, &kChromaDc, &kChromaAc};
    std::size_t length = 0;
    for (const THuffmanDefinition* definition : definitions)
      length += 17 + definition->Symbols.size();
    Marker(0xC4, length);
    const std::uint8_t classes[4] = {0x00, 0x10, 0x01, 0x11};
    for (int i = 0; i < 4; ++i) {
      FOut.push_back(classes[i]);
      FOut.insert(FOut.end(), definitions[i]->Counts.begin(), definitions[i]->Counts.end());
      FOut.insert(FOut.end(), definitions[i]->Symbols.begin(), definitions[i]->Symbols.end());
    }
    Marker(0xDA, 10);
    FOut.insert(FOut.end(), {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0});
    FBits.Start();
  }

  void EncodeStrip(const TStripPlanes& planes, int mcuColumns) {
    // A block codes into at most 64 codes of 16 + 11 bits, every byte possibly stuffed.
    FBits.Reserve(static_cast<std::size_t>(mcuColumns) * 6 * 64 * 27 / 8 * 2 + 64);
    TBlock block;
    for (int m = 0; m < mcuColumns; ++m) {
      for (int k = 0; k < 4; ++k) {
        planes.LumaBlock(m * 16 + (k & 1) * 8, (k >> 1) * 8, block.data());
        EncodeBlock(block, FLumaQuant, FLumaDc, FLumaAc, FLastDc[0]);
      }
      planes.CbBlock(m * 8, block.data());
      EncodeBlock(block, FChromaQuant, FChromaDc, FChromaAc, FLastDc[1]);
      planes.CrBlock(m * 8, block.data());
      EncodeBlock(block, FChromaQuant, FChromaDc, FChromaAc, FLastDc[2]);
    }
  }

  void Finish() {
    FBits.Flush();
    FOut.insert(FOut.end(), {0xFF, 0xD9});
  }

 private:
  void Marker(std::uint8_t marker, std::size_t payload) {
    const std::size_t length = payload + 2;
    FOut.insert(FOut.end(), {0xFF, marker, static_cast<std::uint8_t>(length >> 8),
                             static_cast<std::uint8_t>(length)});
  }

  static int Category(int value) {
    const unsigned magnitude = static_cast<unsigned>(value < 0 ? -value : value);
    return magnitude == 0 ? 0 : 32 - std::countl_zero(magnitude);
  }

  // The value's bits as the format stores them: negative values one less, in `size` bits.
  static std::uint32_t ValueBits(int value, int size) {
    return static_cast<std::uint32_t>(value < 0 ? value - 1 : value) & ((1u << size) - 1);
  }

  static bool IsFlat(const TBlock& block) {
    for (float v : block)
      if (v != block[0]) return false;
    return true;
  }

  void EncodeBlock(TBlock& block, const TQuantizer& q, const THuffmanCodes& dc,
                   const THuffmanCodes& ac, int& lastDc) {
    std::array<int, 64> zz;
    std::uint64_t nonZero = 0;
    if (IsFlat(block)) {
      // A block of one colour (most of a screenshot) has only its DC term.
      zz[0] = Round(block[0] * 64.0f * q.Factor[0]);
    } else {
      DctColumns(block.data());
      Transpose(block.data());
      DctColumns(block.data());
      std::array<int, 64> quantized;
      for (int i = 0; i < 64; ++i) quantized[i] = Round(block[i] * q.Factor[i]);
      for (int i = 0; i < 64; ++i) {
        zz[i] = quantized[kTransposedZigZag[i]];
        nonZero |= static_cast<std::uint64_t>(zz[i] != 0) << i;
      }
      nonZero &= ~std::uint64_t{1};
    }
    const int diff = zz[0] - lastDc;
    lastDc = zz[0];
    const int dcSize = Category(diff);
    FBits.Put(dc.Code[dcSize], dc.Length[dcSize]);
    if (dcSize) FBits.Put(ValueBits(diff, dcSize), dcSize);

    int last = 0;
    while (nonZero) {
      const int at = std::countr_zero(nonZero);
      nonZero &= nonZero - 1;
      int run = at - last - 1;
      for (; run >= 16; run -= 16) FBits.Put(ac.Code[0xF0], ac.Length[0xF0]);
      const int size = Category(zz[at]);
      const int symbol = (run << 4) | size;
      FBits.Put((static_cast<std::uint32_t>(ac.Code[symbol]) << size) | ValueBits(zz[at], size),
                ac.Length[symbol] + size);
      last = at;
    }
    if (last != 63) FBits.Put(ac.Code[0x00], ac.Length[0x00]);
  }

  // Rounds half away from zero, without a branch (the signs of coefficients are unpredictable).
  static int Round(float v) { return static_cast<int>(v + std::copysign(0.5f, v)); }

  TQuantizer FLumaQuant, FChromaQuant;
  THuffmanCodes FLumaDc, FChromaDc, FLumaAc, FChromaAc;
  std::vector<std::uint8_t>& FOut;
  TBitWriter FBits;
  int FLastDc[3] = {0, 0, 0};
};

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const TBitmapImage& image, int quality) {
  image.Validate();
  if (image.Width > 65535 || image.Height > 65535) throw EImageEncode("picture too large for JPEG");
  quality = std::clamp(quality, 1, 100);
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(image.Width) * image.Height / 4 + 1024);
  TJpegEncoder encoder(quality, out);
  encoder.WriteHeaders(image.Width, image.Height);
  const int mcuColumns = (image.Width + 15) / 16;
  TStripPlanes planes(mcuColumns);
  for (int top = 0; top < image.Height; top += 16) {
    planes.Fill(image, top);
    encoder.EncodeStrip(planes, mcuColumns);
  }
  encoder.Finish();
  return out;
}

}  // namespace vlm
