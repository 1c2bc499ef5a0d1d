#include "received/mapped_file.h"

#include <cstdint>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vlm {
namespace {

// Leaves room in the address space of a 32-bit process for everything else it holds.
constexpr std::uint64_t kMaxMapped = std::numeric_limits<std::size_t>::max() / 4;

}  // namespace

#ifdef _WIN32

TMappedFile::TMappedFile(const std::filesystem::path& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
      static_cast<std::uint64_t>(size.QuadPart) <= kMaxMapped) {
    // The view holds the file and the mapping; both handles can go once it exists.
    if (HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr)) {
      if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
        FData = static_cast<const char*>(view);
        FSize = static_cast<std::size_t>(size.QuadPart);
      }
      CloseHandle(mapping);
    }
  }
  CloseHandle(file);
}

TMappedFile::~TMappedFile() {
  if (FData) UnmapViewOfFile(FData);
}

#else

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

#endif

}  // namespace vlm
