#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

#include "base/mapped_file.h"

namespace vlm {
namespace {

// Leaves room in the address space of a 32-bit process for everything else it holds.
constexpr std::uint64_t kMaxMapped = std::numeric_limits<std::size_t>::max() / 4;

}  // namespace

TMappedFile::TMappedFile(const std::filesystem::path& path) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return;
  struct stat status {};
  if (fstat(file, &status) == 0 && status.st_size > 0 &&
      static_cast<std::uint64_t>(status.st_size) <= kMaxMapped) {
    const auto size = static_cast<std::size_t>(status.st_size);
    // The pages are read in one go: the whole file is wanted, front to back.
#ifdef MAP_POPULATE
    constexpr int kFlags = MAP_PRIVATE | MAP_POPULATE;
#else
    constexpr int kFlags = MAP_PRIVATE;
#endif
    void* view = mmap(nullptr, size, PROT_READ, kFlags, file, 0);
    if (view != MAP_FAILED) {
      FData = static_cast<const char*>(view);
      FSize = size;
    }
  }
  close(file);
}

TMappedFile::~TMappedFile() {
  if (FData) munmap(const_cast<char*>(FData), FSize);
}

}  // namespace vlm
