#include "base/win32/file_probe.h"

#include <windows.h>

#include "base/win32/scoped.h"

namespace vlm {

std::int64_t FileSizeOf(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  win::ScopedFindHandle find(FindFirstFileW(path.c_str(), &data));
  if (!find) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace vlm
