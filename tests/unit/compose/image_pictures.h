#pragma once
// Test pictures and pixel comparison for the image encoder tests.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "compose/image_bitmap.h"

namespace vlm::test {

// Red, green, blue bytes, row after row, without padding: what decoders hand back.
using TRgb = std::vector<std::uint8_t>;

inline TRgb RgbOf(const TBitmapImage& image) {
  TRgb rgb;
  for (int y = 0; y < image.Height; ++y) {
    const std::uint8_t* p = image.Row(y);
    for (int x = 0; x < image.Width; ++x, p += image.BytesPerPixel())
      rgb.insert(rgb.end(), {p[2], p[1], p[0]});
  }
  return rgb;
}

inline void SetPixel(TBitmapImage& image, int x, int y, int r, int g, int b) {
  std::uint8_t* p = image.Row(y) + x * image.BytesPerPixel();
  p[0] = static_cast<std::uint8_t>(b);
  p[1] = static_cast<std::uint8_t>(g);
  p[2] = static_cast<std::uint8_t>(r);
  if (image.BitsPerPixel == 32) p[3] = 0;  // clipboard bitmaps leave it zero, not opaque
}

// A window-like picture: a light background, a title bar gradient, and dark glyph-like strokes
// with anti-aliased edges. The row padding is filled with garbage that must not leak out.
inline TBitmapImage Screenshot(int width, int height, int bits = 24) {
  TBitmapImage image(width, height, bits);
  for (auto& byte : image.Pixels) byte = 0xA5;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (y < height / 8) {
        SetPixel(image, x, y, 30 + x * 16 / width * 4, 80, 200);
      } else {
        const bool stroke = (x / 3 + y / 5) % 7 == 0 && (x / 11) % 3 != 2;
        const int edge = ((x / 3 + y / 5) % 7 == 1) ? 160 : 240;
        const int v = stroke ? 20 : edge;
        SetPixel(image, x, y, v, v, stroke ? 60 : v);
      }
    }
  return image;
}

// A photo-like picture: smooth colour waves with a little noise, thousands of colours.
inline TBitmapImage Photo(int width, int height, int bits = 24) {
  TBitmapImage image(width, height, bits);
  std::mt19937 random(2);
  std::normal_distribution<double> noise(0, 3);
  auto level = [&](double v) {
    return static_cast<int>(std::clamp(v + noise(random), 0.0, 255.0));
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double u = x / static_cast<double>(width), v = y / static_cast<double>(height);
      SetPixel(image, x, y, level(128 + 90 * std::sin(u * 6 + v * 2)),
               level(120 + 80 * std::cos(u * 3 - v * 5)),
               level(110 + 70 * std::sin(u * v * 9 + 1)));
    }
  return image;
}

// Random pixels drawn from `colours` distinct colours: the worst case for LZW.
inline TBitmapImage Noise(int width, int height, int colours, unsigned seed) {
  TBitmapImage image(width, height, 24);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int c = static_cast<int>(random() % colours);
      SetPixel(image, x, y, c, 255 - c, (c * 7) & 255);
    }
  return image;
}

// Peak signal-to-noise ratio in dB over all channels; 99 for identical pictures.
inline double Psnr(const TRgb& a, const TRgb& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  double squares = 0;
  for (std::size_t i = 0; i < a.size(); ++i) squares += (a[i] - b[i]) * (a[i] - b[i]);
  if (squares == 0) return 99;
  return 10 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / squares);
}

}  // namespace vlm::test
