#pragma once
// LHA archives: the stand-ins write level-2 headers with -lh0- (stored), -lh5- or -lhd-
// (folder) members, and read level 0, 1 and 2 headers with -lh0- and -lh5- data.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/archivers/common/zip_format.h"

namespace standin {

struct LhaEntry {
  std::string name;    // ANSI, "/" between folders
  std::string method;  // "-lh0-", "-lh5-", "-lhd-", ...
  std::uint32_t compressedSize = 0;
  std::uint32_t originalSize = 0;
  std::uint16_t crc = 0;
  std::int64_t unixTime = 0;
  std::uint32_t attributes = 0x20;
  int level = 2;
  size_t headerOffset = 0;  // where the member's header starts in the archive
  size_t dataOffset = 0;    // where its data starts

  bool Folder() const { return method == "-lhd-"; }
};

class LhaWriter {
 public:
  explicit LhaWriter(const std::filesystem::path& archive);
  // compress: -lh5- when that shrinks the data, else -lh0-.
  LhaEntry AddFile(const std::string& member, const Bytes& data, std::int64_t unixTime,
                   std::uint32_t attributes, bool compress);
  LhaEntry AddFolder(const std::string& member, std::int64_t unixTime, std::uint32_t attributes);
  // A member of another archive, header and data unchanged.
  void AddRaw(const Bytes& headerAndData);
  void Finish();

 private:
  std::ofstream out_;
};

class LhaReader {
 public:
  // Throws ArchiverError: kErrorArcFileOpen, kErrorNotArcFile, kErrorHeaderBroken.
  explicit LhaReader(const std::filesystem::path& archive);
  const std::vector<LhaEntry>& Entries() const { return entries_; }
  Bytes Raw(const LhaEntry& entry) const;  // header and data
  // The member's content with its CRC checked; kErrorNotSupport for other methods.
  Bytes Extract(const LhaEntry& entry) const;

 private:
  bool ReadHeader(size_t at, LhaEntry& entry, size_t& next) const;

  Bytes data_;
  std::vector<LhaEntry> entries_;
};

}  // namespace standin
