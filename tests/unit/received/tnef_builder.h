#pragma once
// Builds TNEF streams in memory: the signature and key, then attribute records with their level,
// identifier and type, length, value and checksum, as Outlook writes them.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "tests/support/little_endian.h"

namespace vlm::test {

constexpr std::uint32_t kAttTnefVersion = 0x00089006;
constexpr std::uint32_t kAttOemCodepage = 0x00069007;
constexpr std::uint32_t kAttAttachRendering = 0x00069002;
constexpr std::uint32_t kAttAttachTitle = 0x00018010;
constexpr std::uint32_t kAttAttachData = 0x0006800F;
constexpr std::uint32_t kAttAttachment = 0x00069005;
constexpr std::uint8_t kLevelMessage = 1;
constexpr std::uint8_t kLevelAttachment = 2;

class TTnefBuilder {
 public:
  // Signature 0x223E9F78, legacy key, TNEF version and code page, as every sender writes them.
  explicit TTnefBuilder(std::uint32_t codePage = 932) {
    FBytes = LittleEndian(0x223E9F78) + LittleEndian(0x0001, 2);
    Attribute(kLevelMessage, kAttTnefVersion, LittleEndian(0x00010000));
    Attribute(kLevelMessage, kAttOemCodepage, LittleEndian(codePage) + LittleEndian(0));
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
  // The attachment's property block (attAttachment) holding these MAPI properties.
  TTnefBuilder& Properties(const std::string& block) {
    return Attribute(kLevelAttachment, kAttAttachment, block);
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

// MAPI properties for a property block: a count, then each property's tag and value.
class TPropertyBlock {
 public:
  static constexpr std::uint16_t kLongFileName = 0x3707;
  static constexpr std::uint16_t kMimeTag = 0x370E;
  static constexpr std::uint16_t kString8 = 0x001E;
  static constexpr std::uint16_t kUnicode = 0x001F;

  // A string or binary property: one value, with its length, padded to four bytes.
  TPropertyBlock& Text(std::uint16_t id, std::uint16_t type, std::string_view bytes) {
    return Tag(id, type).Value(bytes);
  }
  TPropertyBlock& String8(std::uint16_t id, std::string_view text) {
    return Text(id, kString8, std::string(text) + '\0');
  }
  // UTF-16LE from UTF-16 code units, with the terminating zero.
  TPropertyBlock& Unicode(std::uint16_t id, std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) bytes += LittleEndian(unit, 2);
    return Text(id, kUnicode, bytes + LittleEndian(0, 2));
  }
  TPropertyBlock& Long(std::uint16_t id, std::uint32_t value) {
    Tag(id, 0x0003);
    FBytes += LittleEndian(value);
    return *this;
  }
  // A named property (id 0x8000 and up) whose name is a string, then a string value.
  TPropertyBlock& NamedText(std::u16string_view name, std::string_view value) {
    Tag(0x8001, kString8);
    FBytes += std::string(16, '\x11') + LittleEndian(1);
    std::string utf16;
    for (const char16_t unit : name) utf16 += LittleEndian(unit, 2);
    utf16 += LittleEndian(0, 2);
    FBytes += LittleEndian(static_cast<std::uint32_t>(utf16.size())) + Padded(utf16);
    return Value(std::string(value) + '\0');
  }
  // A multi-valued long property.
  TPropertyBlock& Longs(std::uint16_t id, std::initializer_list<std::uint32_t> values) {
    Tag(id, 0x1003);
    FBytes += LittleEndian(static_cast<std::uint32_t>(values.size()));
    for (const auto v : values) FBytes += LittleEndian(v);
    return *this;
  }

  std::string Bytes() const { return LittleEndian(FCount) + FBytes; }

 private:
  static std::string Padded(std::string bytes) {
    while (bytes.size() % 4) bytes += '\0';
    return bytes;
  }
  TPropertyBlock& Tag(std::uint16_t id, std::uint16_t type) {
    ++FCount;
    FBytes += LittleEndian(static_cast<std::uint32_t>(id) << 16 | type);
    return *this;
  }
  TPropertyBlock& Value(std::string_view bytes) {
    FBytes += LittleEndian(1) + LittleEndian(static_cast<std::uint32_t>(bytes.size())) +
              Padded(std::string(bytes));
    return *this;
  }

  std::uint32_t FCount = 0;
  std::string FBytes;
};

}  // namespace vlm::test
