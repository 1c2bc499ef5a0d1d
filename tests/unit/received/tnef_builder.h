#pragma once
// Builds TNEF streams in memory: the signature and key, then attribute records with their level,
// identifier and type, length, value and checksum, as Outlook writes them.
#include <cstdint>
#include <string>
#include <string_view>

namespace vlm::test {

constexpr std::uint32_t kAttTnefVersion = 0x00089006;
constexpr std::uint32_t kAttOemCodepage = 0x00069007;
constexpr std::uint32_t kAttAttachRendering = 0x00069002;
constexpr std::uint32_t kAttAttachTitle = 0x00018010;
constexpr std::uint32_t kAttAttachData = 0x0006800F;
constexpr std::uint8_t kLevelMessage = 1;
constexpr std::uint8_t kLevelAttachment = 2;

inline std::string LittleEndian(std::uint32_t value, int bytes = 4) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

class TTnefBuilder {
 public:
  // Signature 0x223E9F78, legacy key, TNEF version and code page, as every sender writes them.
  TTnefBuilder() {
    FBytes = LittleEndian(0x223E9F78) + LittleEndian(0x0001, 2);
    Attribute(kLevelMessage, kAttTnefVersion, LittleEndian(0x00010000));
    Attribute(kLevelMessage, kAttOemCodepage, LittleEndian(932) + LittleEndian(0));
  }

  TTnefBuilder& Attribute(std::uint8_t level, std::uint32_t idAndType, std::string_view value) {
    return AttributeWithLength(level, idAndType, static_cast<std::uint32_t>(value.size()), value);
  }

  // A record whose stored length need not match the value that follows it.
  TTnefBuilder& AttributeWithLength(std::uint8_t level, std::uint32_t idAndType,
                                    std::uint32_t length, std::string_view value) {
    std::uint32_t checksum = 0;
    for (unsigned char c : value) checksum += c;
    FBytes += static_cast<char>(level);
    FBytes += LittleEndian(idAndType) + LittleEndian(length);
    FBytes += value;
    FBytes += LittleEndian(checksum & 0xFFFF, 2);
    return *this;
  }

  // One attachment as Outlook writes it: rendering (which opens it), title, data.
  TTnefBuilder& Attachment(std::string_view title, std::string_view data) {
    return Rendering().Title(title).Data(data);
  }
  TTnefBuilder& Rendering() {
    const std::string rendering = LittleEndian(1, 2) + LittleEndian(0xFFFFFFFF) +
                                  LittleEndian(0, 2) + LittleEndian(0, 2) + LittleEndian(0);
    return Attribute(kLevelAttachment, kAttAttachRendering, rendering);
  }
  TTnefBuilder& Title(std::string_view title) {
    return Attribute(kLevelAttachment, kAttAttachTitle, std::string(title) + '\0');
  }
  TTnefBuilder& Data(std::string_view data) {
    return Attribute(kLevelAttachment, kAttAttachData, data);
  }
  TTnefBuilder& Raw(std::string_view bytes) {
    FBytes += bytes;
    return *this;
  }

  const std::string& Bytes() const { return FBytes; }
  // Lets a large file be written piece by piece.
  void Clear() { FBytes.clear(); }

 private:
  std::string FBytes;
};

}  // namespace vlm::test
