#pragma once
// The traditional PKWARE stream cipher of ZIP members, keyed by the password.
#include <cstdint>
#include <string_view>

namespace standin {

class ZipCrypto {
 public:
  explicit ZipCrypto(std::string_view password);
  std::uint8_t Encrypt(std::uint8_t plain);
  std::uint8_t Decrypt(std::uint8_t cipher);

 private:
  std::uint8_t KeyByte() const;
  void Update(std::uint8_t plain);

  std::uint32_t keys_[3];
};

// One step of the CRC-32 used by ZIP (and by this cipher).
std::uint32_t Crc32Step(std::uint32_t crc, std::uint8_t byte);

}  // namespace standin
