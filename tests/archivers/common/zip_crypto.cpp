#include "tests/archivers/common/zip_crypto.h"

#include <array>

namespace standin {

namespace {

std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

const std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::uint32_t Crc32Step(std::uint32_t crc, std::uint8_t byte) {
  return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

ZipCrypto::ZipCrypto(std::string_view password) : keys_{0x12345678u, 0x23456789u, 0x34567890u} {
  for (char c : password) Update(static_cast<std::uint8_t>(c));
}

std::uint8_t ZipCrypto::KeyByte() const {
  std::uint32_t temp = (keys_[2] | 2) & 0xFFFF;
  return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipCrypto::Update(std::uint8_t plain) {
  keys_[0] = Crc32Step(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
  keys_[2] = Crc32Step(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
}

std::uint8_t ZipCrypto::Encrypt(std::uint8_t plain) {
  std::uint8_t cipher = plain ^ KeyByte();
  Update(plain);
  return cipher;
}

std::uint8_t ZipCrypto::Decrypt(std::uint8_t cipher) {
  std::uint8_t plain = cipher ^ KeyByte();
  Update(plain);
  return plain;
}

}  // namespace standin
