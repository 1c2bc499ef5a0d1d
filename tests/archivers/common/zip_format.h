#pragma once
// ZIP archives as the stand-ins write and read them: local headers, member data (stored or
// raw deflate, optionally under the traditional cipher), central directory and its end record.
// No ZIP64: members and archives stay below 4 GB.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/little_endian.h"

namespace standin {

using Bytes = std::vector<std::uint8_t>;
// Numbers in archive headers, ZIP's and LHA's alike, are little-endian.
using vlm::test::Get16;
using vlm::test::Get32;
using vlm::test::Put16;
using vlm::test::Put32;
using vlm::test::Set32;

struct ZipEntry {
  std::string name;  // ANSI, "/" between folders, a trailing "/" for a folder
  std::uint16_t flags = 0;
  std::uint16_t method = 0;  // 0 stored, 8 deflated
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint32_t crc = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t originalSize = 0;
  std::uint32_t externalAttributes = 0;  // MS-DOS attribute bits
  std::uint32_t localOffset = 0;

  bool Encrypted() const { return (flags & 1) != 0; }
  bool Folder() const { return !name.empty() && name.back() == '/'; }
};

Bytes ReadWholeFile(const std::filesystem::path& path);

class ZipWriter {
 public:
  explicit ZipWriter(const std::filesystem::path& archive);
  // level 0 stores; 1..9 deflate (stored anyway when deflate does not shrink the data).
  // An empty password leaves the member unencrypted.
  ZipEntry AddFile(const std::string& member, const Bytes& data, std::uint16_t dosDate,
                   std::uint16_t dosTime, std::uint32_t attributes, int level,
                   std::string_view password);
  ZipEntry AddFolder(const std::string& member, std::uint16_t dosDate, std::uint16_t dosTime,
                     std::uint32_t attributes);
  // Copies a member of another archive unchanged (its compressed bytes as they are).
  void AddRaw(ZipEntry entry, const Bytes& compressed);
  void Finish();

 private:
  ZipEntry Write(ZipEntry entry, const Bytes& payload);

  std::ofstream out_;
  std::vector<ZipEntry> entries_;
  std::uint32_t offset_ = 0;
};

class ZipReader {
 public:
  // Throws ArchiverError when the file is missing (kErrorArcFileOpen) or no ZIP archive
  // (kErrorNotArcFile).
  explicit ZipReader(const std::filesystem::path& archive);
  const std::vector<ZipEntry>& Entries() const { return entries_; }
  // The member's stored bytes (compressed, still encrypted).
  Bytes Raw(const ZipEntry& entry) const;
  // The member's content, decrypted and inflated, its CRC checked. Throws ArchiverError
  // (kErrorPasswordFile when the password does not fit, kErrorFileCrc, kErrorHeaderBroken).
  Bytes Extract(const ZipEntry& entry, std::string_view password) const;

  static bool LooksLikeZip(const std::filesystem::path& archive);

 private:
  size_t DataOffset(const ZipEntry& entry) const;

  Bytes data_;
  std::vector<ZipEntry> entries_;
};

std::uint32_t Crc32(const Bytes& data);
Bytes RawDeflate(const Bytes& data, int level);
Bytes RawInflate(const Bytes& compressed, std::uint32_t originalSize);

}  // namespace standin
