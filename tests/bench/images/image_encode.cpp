// image_encode <in.ppm> <jpg|bmp|gif|png> <comp> <out>: reads a binary PPM into a 24-bit bitmap
// and writes it in the format through the dialog's writer, the way the dialog does on "決定".
// Prints the time spent building the bitmap from the PPM and giving it back, and the encoding
// time, as "read_s=<seconds> encode_s=<seconds>"; the benchmark takes the first off the process
// time.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <utility>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "compose/image_file.h"

namespace {

// Maps the PPM and converts each row straight into the bitmap's blue, green, red order: the
// peers read their PPM input about as fast as the disk cache hands it over, so must we.
vlm::TBitmapImage ReadPpm(const char* path) {
  const int fd = ::open(path, O_RDONLY);
  if (fd < 0) throw std::runtime_error("cannot open the PPM");
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_size <= 0) {
    ::close(fd);
    throw std::runtime_error("cannot read the PPM");
  }
  const auto size = static_cast<std::size_t>(info.st_size);
  void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  ::close(fd);
  if (mapped == MAP_FAILED) throw std::runtime_error("cannot map the PPM");
  const auto* bytes = static_cast<const std::uint8_t*>(mapped);
  int width = 0, height = 0, maxValue = 0, headerSize = 0;
  const std::string head(reinterpret_cast<const char*>(bytes), std::min<std::size_t>(size, 64));
  const bool header =
      std::sscanf(head.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &headerSize) == 3 &&
      maxValue == 255;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  if (!header || size < headerSize + 1 + rowBytes * height) {
    ::munmap(mapped, size);
    throw std::runtime_error("not a complete binary PPM");
  }
  vlm::TBitmapImage image(width, height, 24);
  const std::uint8_t* in = bytes + headerSize + 1;
  for (int y = 0; y < height; ++y, in += rowBytes) {
    std::uint8_t* out = image.Row(y);
    for (std::size_t i = 0; i < rowBytes; i += 3) {
      out[i] = in[i + 2];
      out[i + 1] = in[i + 1];
      out[i + 2] = in[i];
    }
  }
  ::munmap(mapped, size);
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
    const auto readStart = std::chrono::steady_clock::now();
    std::optional<vlm::TBitmapImage> image = ReadPpm(argv[1]);
    std::chrono::duration<double> read = std::chrono::steady_clock::now() - readStart;
    const std::string out = argv[4];
    const auto start = std::chrono::steady_clock::now();
    vlm::WriteImageFile(*image, formats.at(argv[2]), std::stoi(argv[3]),
                        std::wstring(out.begin(), out.end()));
    const auto end = std::chrono::steady_clock::now();
    const std::chrono::duration<double> took = end - start;
    // Giving the bitmap back belongs with making it: the clipboard's bitmap is the host's.
    image.reset();
    read += std::chrono::steady_clock::now() - end;
    std::printf("read_s=%.4f encode_s=%.4f\n", read.count(), took.count());
  } catch (const std::exception& e) {
    std::cerr << "image_encode: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
