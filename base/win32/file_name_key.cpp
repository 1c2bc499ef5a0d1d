#include "base/file_name_key.h"

#include <windows.h>

#include "base/ascii_file_name_key.h"

namespace vlm {

// The invariant upper case is the table file systems compare names with; CompareStringOrdinal,
// ignoring case, has the last word.
std::wstring FileNameKey(std::wstring_view name) {
  const int size = static_cast<int>(name.size());
  std::wstring key;
  if (AsciiFileNameKey(name, key)) return key;
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), size, key.data(), size,
                    nullptr, nullptr, 0) != size ||
      CompareStringOrdinal(name.data(), size, key.data(), size, TRUE) != CSTR_EQUAL) {
    return std::wstring(name);
  }
  return key;
}

}  // namespace vlm
