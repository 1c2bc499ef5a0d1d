// image_encode <in.ppm> <jpg|bmp|gif|png> <comp> <out>: reads a binary PPM into a 24-bit bitmap
// and writes it in the format through the dialog's writer, the way the dialog does on "決定".
// Prints the encoding time alone, without reading the PPM, as "encode_s=<seconds>".
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "compose/image_file.h"

namespace {

vlm::TBitmapImage ReadPpm(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  if (!in || magic != "P6" || maxValue != 255) throw std::runtime_error("not a binary PPM");
  vlm::TBitmapImage image(width, height, 24);
  std::string row(static_cast<std::size_t>(width) * 3, '\0');
  for (int y = 0; y < height; ++y) {
    in.read(row.data(), static_cast<std::streamsize>(row.size()));
    std::uint8_t* p = image.Row(y);
    for (int x = 0; x < width; ++x) {
      p[x * 3] = static_cast<std::uint8_t>(row[x * 3 + 2]);
      p[x * 3 + 1] = static_cast<std::uint8_t>(row[x * 3 + 1]);
      p[x * 3 + 2] = static_cast<std::uint8_t>(row[x * 3]);
    }
  }
  if (!in) throw std::runtime_error("truncated PPM");
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: image_encode <in.ppm> <jpg|bmp|gif|png> <comp> <out>\n";
    return 2;
  }
  const std::map<std::string, vlm::TImageFormat> formats = {
      {"jpg", vlm::ifJpeg}, {"bmp", vlm::ifBmp}, {"gif", vlm::ifGif}, {"png", vlm::ifPng}};
  try {
    const vlm::TBitmapImage image = ReadPpm(argv[1]);
    const std::string out = argv[4];
    const auto start = std::chrono::steady_clock::now();
    vlm::WriteImageFile(image, formats.at(argv[2]), std::stoi(argv[3]),
                        std::wstring(out.begin(), out.end()));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("encode_s=%.3f\n", took.count());
  } catch (const std::exception& e) {
    std::cerr << "image_encode: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
