// image_make <screenshot|photo> <out.ppm> [width height]: writes a benchmark picture, 3840x2160
// unless told otherwise, as a binary PPM.
//   screenshot: a window on a light background: a gradient title bar, a side panel, lines of
//     anti-aliased glyph-like text in dark and link colours, and a photo thumbnail.
//   photo: smooth colour waves with sensor-like noise, hundreds of thousands of colours.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

struct TPicture {
  int Width, Height;
  std::vector<std::uint8_t> Rgb;

  TPicture(int width, int height)
      : Width(width), Height(height), Rgb(static_cast<std::size_t>(width) * height * 3) {}
  std::uint8_t* At(int x, int y) { return &Rgb[(static_cast<std::size_t>(y) * Width + x) * 3]; }
  void Set(int x, int y, int r, int g, int b) {
    std::uint8_t* p = At(x, y);
    p[0] = static_cast<std::uint8_t>(r);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(b);
  }
  void Fill(int x0, int y0, int x1, int y1, int r, int g, int b) {
    for (int y = std::max(0, y0); y < std::min(Height, y1); ++y)
      for (int x = std::max(0, x0); x < std::min(Width, x1); ++x) Set(x, y, r, g, b);
  }
};

constexpr int kGlyphWidth = 10, kGlyphHeight = 16;
using TGlyph = std::vector<std::uint8_t>;  // coverage 0..255

// Random stroke glyphs with a soft edge around each stroke, like anti-aliased text.
std::vector<TGlyph> MakeGlyphs(std::mt19937& random) {
  std::vector<TGlyph> glyphs(64, TGlyph(kGlyphWidth * kGlyphHeight));
  for (TGlyph& g : glyphs) {
    for (int stroke = 0; stroke < 6; ++stroke) {
      const int x0 = random() % kGlyphWidth, y0 = random() % kGlyphHeight;
      const int dx = static_cast<int>(random() % 3) - 1, dy = static_cast<int>(random() % 3) - 1;
      for (int k = 0; k < 8; ++k) {
        const int x = x0 + dx * k, y = y0 + dy * k;
        if (x >= 0 && x < kGlyphWidth && y >= 0 && y < kGlyphHeight) g[y * kGlyphWidth + x] = 255;
      }
    }
    for (int y = 0; y < kGlyphHeight; ++y)
      for (int x = 0; x < kGlyphWidth; ++x) {
        if (g[y * kGlyphWidth + x]) continue;
        int near = 0;
        for (int d : {-1, 1}) {
          near += x + d >= 0 && x + d < kGlyphWidth && g[y * kGlyphWidth + x + d] == 255;
          near += y + d >= 0 && y + d < kGlyphHeight && g[(y + d) * kGlyphWidth + x] == 255;
        }
        g[y * kGlyphWidth + x] = static_cast<std::uint8_t>(60 * near);
      }
  }
  return glyphs;
}

void DrawGlyph(TPicture& p, const TGlyph& g, int x0, int y0, int r, int gr, int b) {
  for (int y = 0; y < kGlyphHeight && y0 + y < p.Height; ++y)
    for (int x = 0; x < kGlyphWidth && x0 + x < p.Width; ++x) {
      const int a = g[y * kGlyphWidth + x];
      if (!a) continue;
      std::uint8_t* q = p.At(x0 + x, y0 + y);
      q[0] = static_cast<std::uint8_t>((q[0] * (255 - a) + r * a) / 255);
      q[1] = static_cast<std::uint8_t>((q[1] * (255 - a) + gr * a) / 255);
      q[2] = static_cast<std::uint8_t>((q[2] * (255 - a) + b * a) / 255);
    }
}

void DrawScreenshot(TPicture& p) {
  std::mt19937 random(7);
  const int w = p.Width, h = p.Height;
  p.Fill(0, 0, w, h, 240, 240, 240);
  for (int y = 0; y < std::min(40, h); ++y)
    for (int x = 0; x < w; ++x) p.Set(x, y, 30 + x * 60 / w, 80 + y, 160 + x * 40 / w);
  p.Fill(300, 100, w - 100, h - 100, 255, 255, 255);
  p.Fill(0, 100, 280, h - 100, 225, 230, 240);
  const std::vector<TGlyph> glyphs = MakeGlyphs(random);
  for (int line = 0; 120 + line * 22 < h - 120; ++line) {
    const bool link = line % 9 == 0;
    const int length = 200 + static_cast<int>(random() % 3000);
    for (int c = 0; c * kGlyphWidth < length && 330 + c * kGlyphWidth < w - 120; ++c) {
      if (random() % 7 == 0) continue;  // a space
      DrawGlyph(p, glyphs[random() % glyphs.size()], 320 + c * kGlyphWidth, 120 + line * 22,
                link ? 0 : 20, link ? 80 : 20, link ? 200 : 20);
    }
  }
  for (int line = 0; 120 + line * 24 < h - 120; ++line)
    for (int c = 0; c < 20; ++c)
      DrawGlyph(p, glyphs[random() % glyphs.size()], 20 + c * 11, 120 + line * 24, 0, 0, 0);
  const int tx = w * 73 / 100, ty = h * 69 / 100;
  for (int y = ty; y < std::min(h, ty + 400); ++y)
    for (int x = tx; x < std::min(w, tx + 700); ++x)
      p.Set(x, y, static_cast<int>(128 + 100 * std::sin(x * 0.02) * std::cos(y * 0.03)),
            static_cast<int>(128 + 90 * std::sin((x + y) * 0.01)),
            100 + static_cast<int>(random() % 40));
}

void DrawPhoto(TPicture& p) {
  std::mt19937 random(11);
  std::normal_distribution<double> noise(0, 6);
  auto level = [&](double v) {
    return static_cast<int>(std::clamp(v + noise(random), 0.0, 255.0));
  };
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) {
      const double u = x / static_cast<double>(p.Width), v = y / static_cast<double>(p.Height);
      p.Set(x, y, level(120 + 80 * std::sin(u * 7 + v * 3) + 30 * std::cos(u * 31 * v)),
            level(110 + 70 * std::cos(u * 5 - v * 9) + 25 * std::sin(v * 41)),
            level(100 + 60 * std::sin(u * 3 * v * 13 + 1) + 20 * std::cos(u * 57)));
    }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: image_make <screenshot|photo> <out.ppm> [width height]\n");
    return 2;
  }
  const std::string kind = argv[1];
  TPicture picture(argc == 5 ? std::stoi(argv[3]) : 3840, argc == 5 ? std::stoi(argv[4]) : 2160);
  if (kind == "screenshot")
    DrawScreenshot(picture);
  else if (kind == "photo")
    DrawPhoto(picture);
  else
    return 2;
  FILE* out = std::fopen(argv[2], "wb");
  if (!out) return 1;
  std::fprintf(out, "P6\n%d %d\n255\n", picture.Width, picture.Height);
  const bool written =
      std::fwrite(picture.Rgb.data(), 1, picture.Rgb.size(), out) == picture.Rgb.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
