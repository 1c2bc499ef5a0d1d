#pragma once
// A whole file mapped read-only into memory, so that its bytes are written onward without being
// copied into a buffer first. When the system will not map it (an empty file, or one too large
// for the address space of a 32-bit process), the view is empty and the caller reads the file.
#include <cstddef>
#include <filesystem>

namespace vlm {

class TMappedFile {
 public:
  explicit TMappedFile(const std::filesystem::path& path);
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  // The file's bytes, or null when it is not mapped.
  const char* Data() const { return FData; }
  std::size_t Size() const { return FSize; }

 private:
  const char* FData = nullptr;
  std::size_t FSize = 0;
};

}  // namespace vlm
