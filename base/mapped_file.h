#pragma once
// A whole file mapped read-only into memory, so that its bytes are written onward without being
// copied into a buffer first. When the system will not map it (an empty file, or one too large
// for the address space of a 32-bit process), the view is empty and the caller reads the file.
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace vlm {

class TNewFile;

class TMappedFile {
 public:
  // How the caller goes through the file: reading all of it through the view (its pages are then
  // read in at once), or reading a few pieces and handing most of it on with WriteRange (pages
  // are then read only where the view is touched).
  enum class TUse { ReadWhole, HandOn };

  explicit TMappedFile(const std::filesystem::path& path, TUse use = TUse::ReadWhole);
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  // The file's bytes, or null when it is not mapped.
  const char* Data() const { return FData; }
  std::size_t Size() const { return FSize; }

  // Writes `size` bytes of the mapped file from `offset`, which lie inside it, into `file`. False
  // when the system took less than all of it.
  bool WriteRange(TNewFile& file, std::uint64_t offset, std::size_t size) const;

 private:
  const char* FData = nullptr;
  std::size_t FSize = 0;
  // On POSIX the file stays open beside its view, so that WriteRange can have the system copy
  // from file to file.
  int FDescriptor = -1;
};

}  // namespace vlm
