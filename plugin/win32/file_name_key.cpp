#include "plugin/file_name_key.h"

#include <windows.h>

namespace vlm {

// The invariant upper case is the table file systems compare names with.
std::wstring FileNameKey(std::wstring_view name) {
  std::wstring key(name);
  if (key.empty()) return key;
  const int n =
      LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, key.data(), static_cast<int>(key.size()),
                   key.data(), static_cast<int>(key.size()));
  if (n != static_cast<int>(key.size())) {
    key.assign(name);
    CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  }
  return key;
}

}  // namespace vlm
