// The RTF bodies (PR_RTF_COMPRESSED) of the real winmail.dat samples: each decompresses, to the
// bytes other decoders' test suites publish where they do, and reads as some kind of body; the
// one sample made by changing a byte inside the body fails its CRC.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "received/compressed_rtf.h"
#include "received/rtf_body.h"
#include "tests/support/file_bytes.h"
#include "tests/support/sample_data.h"
#include "tests/unit/received/sha256.h"

namespace vlm {
namespace {

namespace fs = std::filesystem;

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

// Every PR_RTF_COMPRESSED value in a TNEF file, found by its property tag (binary, 0x1009)
// followed by a count of one value and the value's length.
std::vector<std::string> CompressedBodies(const std::string& tnef) {
  constexpr std::string_view kTag("\x02\x01\x09\x10", 4);
  std::vector<std::string> bodies;
  for (std::size_t at = tnef.find(kTag); at != std::string::npos; at = tnef.find(kTag, at + 1)) {
    if (tnef.size() - at < 12 || LittleEndian32(tnef, at + 4) != 1) continue;
    const std::uint32_t length = LittleEndian32(tnef, at + 8);
    if (length <= tnef.size() - at - 12) bodies.push_back(tnef.substr(at + 12, length));
  }
  return bodies;
}

TEST(CompressedRtfSamples, BodiesDecompressToThePublishedBytes) {
  // SHA-256 of the first body of each sample, as verdammelt/tnef and MimeKit publish them.
  const std::map<std::string, std::string> published = {
      {"MAPI_ATTACH_DATA_OBJ.tnef",
       "e803e31e72d8d36f2528719a632d029806d6cbbdf168013865725b602302b0db"},
      {"MAPI_OBJECT.tnef", "095da1917ef2b6c25839ddd215a916605f95d45a4f780736ed6055107be19c71"},
      {"attachments.dat", "5dcd1bdee036cc1c7639bca7f7e96355d80a18f9e366b3be672a3112019d4356"},
      {"christmas.tnef", "3716ee1ced39726b038a01a003ff26cbef59d5d37d2c65e38a323ee4db9d7901"},
      {"data-before-name.tnef", "047bc7915ca95a0273baafc020a51e745a2e68d6f0cc9ba3c326090ff8e7fd8d"},
      {"long-filename.tnef", "2f522487cfb7ad54cea360683d80bca7f6da39e8c1bfa9b723168aa7bca74695"},
      {"missing-filenames.tnef",
       "507cd565d470dc9cb62d2205d818be0f35658a5b7e0052b557dab6f4b63de4ff"},
      {"multi-value-attribute.tnef",
       "1feaf9614a5da99b28dc0c6efc0f9ade9d7a07433ed79c8b47484577747de96a"},
      {"rtf.tnef", "285e04e771fe1f1d699d8c7c6ce5d5fcf4dfebf239d9ed002239662e4862bde7"},
      {"triples.tnef", "8bbeaeb23fc3a13faaccd850e600d78aa01fce545f0ce9759c66a5a47867e29b"},
  };
  const std::string damaged = "invalid-checksum.tnef";  // rtf.tnef with one byte changed
  std::size_t bodies = 0;
  for (const auto& entry : fs::directory_iterator(test::SamplePath("tnef"))) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    const std::vector<std::string> compressed = CompressedBodies(test::ReadFile(entry.path()));
    for (std::size_t i = 0; i < compressed.size(); ++i, ++bodies) {
      if (name == damaged) {
        EXPECT_THROW((void)DecompressRtf(compressed[i]), ECompressedRtf);
        continue;
      }
      std::string rtf;
      ASSERT_NO_THROW(rtf = DecompressRtf(compressed[i])) << name << " body " << i;
      EXPECT_EQ(rtf.substr(0, 5), "{\\rtf") << name << " body " << i;
      const TRtfBody body = ReadRtfBody(rtf);
      if (body.Kind != TRtfBody::TKind::Rtf) {
        EXPECT_FALSE(body.Text.empty()) << name;
      }
      const auto digest = published.find(name);
      if (i == 0 && digest != published.end()) {
        EXPECT_EQ(test::Sha256Hex(rtf), digest->second) << name;
      }
    }
    if (published.contains(name) || name == damaged) {
      EXPECT_FALSE(compressed.empty()) << name;
    }
  }
  EXPECT_GE(bodies, 20u);
}

}  // namespace
}  // namespace vlm
