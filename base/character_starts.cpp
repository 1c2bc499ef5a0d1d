#include "base/character_starts.h"

#include "base/ansi_text.h"

namespace vlm {

TLeadBytes::TLeadBytes() : FPairs(1 << 16) {
  for (int byte = 0x80; byte < 0x100; ++byte)
    FLead[byte] = IsAnsiLeadByte(static_cast<unsigned char>(byte));
  for (unsigned pair = 0; pair < FPairs.size(); ++pair)
    FPairs[pair] = static_cast<std::uint8_t>(FLead[pair & 0xFF] | FLead[pair >> 8] << 1);
}

bool TCharacterStarts::At(std::size_t at) {
  if (at < FFrom) return true;
  if (at < FStart) FStart = FNext = FFrom;
  while (FNext <= at && FNext < FText.size()) {
    FStart = FNext;
    FNext += (*FLead)[static_cast<unsigned char>(FText[FNext])] ? 2 : 1;
  }
  return FStart == at;
}

}  // namespace vlm
