// tnef_make_body <file> <rtf-size> <files> <file-size>: writes a winmail.dat as Outlook sends a
// formatted message: an RTF body of about <rtf-size> bytes in PR_RTF_COMPRESSED (LZFu, literals
// only, with its CRC), and <files> attachments of <file-size> pseudo-random bytes whose data is
// only in their property blocks (PR_ATTACH_DATA_BIN), as some senders write them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <string>

#include "tests/bench/tnef/pseudo_random.h"
#include "tests/support/little_endian.h"
#include "tests/support/rtf_crc.h"
#include "tests/unit/received/tnef_builder.h"

namespace {

using vlm::test::LittleEndian;

// The RTF body: a document of numbered paragraphs, as long as asked.
std::string RtfDocument(size_t size) {
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
  for (unsigned n = 1; rtf.size() < size; ++n)
    rtf += "Paragraph " + std::to_string(n) + " of the quarterly report.\\par\r\n";
  return rtf + "}";
}

// LZFu with no references but the one that ends the stream, which points at the ring's write
// position (the ring starts with the 207 bytes of its dictionary): groups of eight literals, each
// after a control byte of zeros; the last group's control byte marks that reference.
std::string Compressed(const std::string& rtf) {
  std::string contents;
  for (size_t at = 0;;) {
    const size_t literals = std::min<size_t>(8, rtf.size() - at);
    const bool last = literals < 8;
    contents += static_cast<char>(last ? 1u << literals : 0u);
    contents += rtf.substr(at, literals);
    at += literals;
    if (last) break;
  }
  const unsigned end = static_cast<unsigned>((207 + rtf.size()) % 4096);
  contents += static_cast<char>(end >> 4);
  contents += static_cast<char>((end & 15) << 4);
  return LittleEndian(static_cast<std::uint32_t>(contents.size() + 12)) +
         LittleEndian(static_cast<std::uint32_t>(rtf.size())) + LittleEndian(0x75465A4C) +
         LittleEndian(vlm::test::CompressedRtfCrc(contents)) + contents;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: tnef_make_body <file> <rtf-size> <files> <file-size>\n");
    return 2;
  }
  const size_t rtfSize = std::strtoull(argv[2], nullptr, 10);
  const long files = std::atol(argv[3]);
  const size_t fileSize = std::strtoull(argv[4], nullptr, 10);
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  vlm::test::TTnefBuilder tnef(1252);
  tnef.Attribute(
      vlm::test::kLevelMessage, 0x00069003,
      vlm::test::TPropertyBlock().Text(0x1009, 0x0102, Compressed(RtfDocument(rtfSize))).Bytes());
  std::ofstream out(argv[1], std::ios::binary);
  for (long i = 1; i <= files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "block%04ld.bin", i);
    tnef.Rendering().Properties(
        vlm::test::TPropertyBlock()
            .String8(vlm::test::TPropertyBlock::kLongFileName, name)
            .Text(0x3701, 0x0102, vlm::test::PseudoRandomBytes(fileSize, state))
            .Bytes());
    out << tnef.Bytes();
    tnef.Clear();
  }
  out << tnef.Bytes();
  return out ? 0 : 1;
}
