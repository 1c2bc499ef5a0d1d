#include <windows.h>

#include <cstdint>
#include <limits>

#include "base/files.h"
#include "base/mapped_file.h"

namespace vlm {
namespace {

// Leaves room in the address space of a 32-bit process for everything else it holds.
constexpr std::uint64_t kMaxMapped = std::numeric_limits<std::size_t>::max() / 4;

}  // namespace

// Windows reads the pages of a view as they are touched, whatever the use.
TMappedFile::TMappedFile(const std::filesystem::path& path, TUse /*use*/) {
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

bool TMappedFile::WriteRange(TNewFile& file, std::uint64_t offset, std::size_t size) const {
  return file.Write(FData + static_cast<std::size_t>(offset), size);
}

}  // namespace vlm
