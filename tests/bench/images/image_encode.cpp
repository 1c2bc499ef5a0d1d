// image_encode <in.ppm> <jpg|bmp|gif|png> <comp> <out>: reads a binary PPM into a 24-bit bitmap
// and writes it in the format through the dialog's writer, the way the dialog does on "決定".
// Prints the encoding time alone, without reading the PPM, as "encode_s=<seconds>".
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <utility>
#include <iostream>
#include <map>
#include <string>

#include "compose/image_file.h"

namespace {

// Reads each row straight into the bitmap and swaps red and blue in place: the peers read
// their PPM input about as fast as the disk cache hands it over, so must we.
vlm::TBitmapImage ReadPpm(const char* path) {
  std::FILE* in = std::fopen(path, "rb");
  if (!in) throw std::runtime_error("cannot open the PPM");
  int width = 0, height = 0, maxValue = 0;
  const bool header = std::fscanf(in, "P6 %d %d %d", &width, &height, &maxValue) == 3 &&
                      maxValue == 255 && std::fgetc(in) != EOF;
  if (!header) {
    std::fclose(in);
    throw std::runtime_error("not a binary PPM");
  }
  vlm::TBitmapImage image(width, height, 24);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  bool complete = true;
  for (int y = 0; y < height && complete; ++y) {
    std::uint8_t* p = image.Row(y);
    complete = std::fread(p, 1, rowBytes, in) == rowBytes;
    for (std::size_t i = 0; i < rowBytes; i += 3) std::swap(p[i], p[i + 2]);
  }
  std::fclose(in);
  if (!complete) throw std::runtime_error("truncated PPM");
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
