#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

#include "base/files.h"
#include "base/mapped_file.h"

namespace vlm {
namespace {

// Leaves room in the address space of a 32-bit process for everything else it holds.
constexpr std::uint64_t kMaxMapped = std::numeric_limits<std::size_t>::max() / 4;

}  // namespace

TMappedFile::TMappedFile(const std::filesystem::path& path, TUse use) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return;
  struct stat status {};
  if (fstat(file, &status) == 0 && status.st_size > 0 &&
      static_cast<std::uint64_t>(status.st_size) <= kMaxMapped) {
    const auto size = static_cast<std::size_t>(status.st_size);
    // A file read front to back has its pages read in one go; one mostly handed on would have
    // them mapped for nothing (mapping 50 MB ahead costs about a tenth of copying it).
    int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
    if (use == TUse::ReadWhole) flags |= MAP_POPULATE;
#endif
    void* view = mmap(nullptr, size, PROT_READ, flags, file, 0);
    if (view != MAP_FAILED) {
      FData = static_cast<const char*>(view);
      FSize = size;
      FDescriptor = file;
      return;
    }
  }
  close(file);
}

TMappedFile::~TMappedFile() {
  if (FData) munmap(const_cast<char*>(FData), FSize);
  if (FDescriptor >= 0) close(FDescriptor);
}

// The system copies from file to file (copy_file_range, as cp does): the bytes never pass
// through this process, nor are the view's pages mapped for them, which halves the time of a
// large attachment. Where the system cannot (an older kernel, file systems it will not copy
// between), the rest is written from the view.
bool TMappedFile::WriteRange(TNewFile& file, std::uint64_t offset, std::size_t size) const {
  auto from = static_cast<off_t>(offset);
  while (size > 0) {
    const ssize_t copied = copy_file_range(FDescriptor, &from, file.Handle(), nullptr, size, 0);
    if (copied > 0) {
      size -= static_cast<std::size_t>(copied);
    } else if (copied == 0) {
      return false;  // the file got shorter than its view
    } else if (errno != EINTR) {
      break;
    }
  }
  return size == 0 || file.Write(FData + from, size);
}

}  // namespace vlm
