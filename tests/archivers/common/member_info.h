#pragma once
// One archive member as the listing entries report it (FindFirst / FindNext).
#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct MemberInfo {
  std::string name;  // ANSI, as stored in the archive
  std::uint32_t originalSize = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t crc = 0;
  std::uint16_t ratio = 0;  // compressed size per mille of the original
  std::uint16_t dosDate = 0;
  std::uint16_t dosTime = 0;
  std::int64_t unixTime = 0;
  std::uint32_t osType = 0;
  std::string attribute;  // "rhsda" letters, "-" for a missing bit
  std::string mode;       // method text such as "-lh5-" or "deflate"
};

std::uint16_t RatioOf(std::uint32_t compressed, std::uint32_t original);
std::string AttributeText(std::uint32_t dosAttributes);

}  // namespace standin
