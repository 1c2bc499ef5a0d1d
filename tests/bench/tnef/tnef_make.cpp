// tnef_make <file> <count> <size>: writes a winmail.dat holding <count> attachments of <size>
// pseudo-random bytes each, titled file0001.bin and on, with valid signature, levels and checksums
// so that every decoder extracts it. Byte runs that look like an attachment title or data
// identifier are broken up, so every decoder finds exactly <count> attachments.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/bench/tnef/pseudo_random.h"
#include "tests/unit/received/tnef_builder.h"

namespace {

std::string RandomBytes(size_t size, std::uint64_t& state) {
  std::string bytes = vlm::test::PseudoRandomBytes(size, state);
  for (size_t i = 1; i + 2 < size; ++i) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    if (at(i) == 0x80 && at(i + 2) == 0x00 &&
        ((at(i - 1) == 0x0F && at(i + 1) == 0x06) || (at(i - 1) == 0x10 && at(i + 1) == 0x01)))
      bytes[i] = static_cast<char>(0x81);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: tnef_make <file> <count> <size>\n");
    return 2;
  }
  const long count = std::atol(argv[2]);
  const size_t size = std::strtoull(argv[3], nullptr, 10);
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  vlm::test::TTnefBuilder tnef;
  std::ofstream out(argv[1], std::ios::binary);
  for (long i = 1; i <= count; ++i) {
    char title[32];
    std::snprintf(title, sizeof title, "file%04ld.bin", i);
    tnef.Attachment(title, RandomBytes(size, state));
    out << tnef.Bytes();
    tnef.Clear();
  }
  out << tnef.Bytes();
  return out ? 0 : 1;
}
