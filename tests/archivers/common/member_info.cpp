#include "tests/archivers/common/member_info.h"

namespace standin {

std::uint16_t RatioOf(std::uint32_t compressed, std::uint32_t original) {
  if (original == 0) return 0;
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(compressed) * 1000 / original);
}

std::string AttributeText(std::uint32_t dosAttributes) {
  const char letters[] = {'r', 'h', 's', 'd', 'a'};
  const std::uint32_t bits[] = {0x01, 0x02, 0x04, 0x10, 0x20};
  std::string text;
  for (int i = 0; i < 5; ++i) text += (dosAttributes & bits[i]) ? letters[i] : '-';
  return text;
}

}  // namespace standin
