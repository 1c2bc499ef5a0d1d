#include <clocale>
#include <cwctype>

#include "base/ascii_file_name_key.h"
#include "base/file_name_key.h"

namespace vlm {
namespace {

// The Unicode simple upper case, as NTFS folds names; glibc's C.UTF-8 locale knows it whatever
// the process's own locale is.
locale_t UpperCaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  return locale;
}

}  // namespace

std::wstring FileNameKey(std::wstring_view name) {
  std::wstring key;
  if (AsciiFileNameKey(name, key)) return key;
  key.assign(name);
  for (wchar_t& c : key) {
    // ASCII letters are folded here too: the locale is loaded only for a name that needs it.
    const auto unit = static_cast<std::uint32_t>(c);
    if (unit < 0x80) {
      c = AsciiKeyChar(c);
      continue;
    }
    if (unit > 0xFFFF) continue;  // NTFS folds single UTF-16 units only
    if (const locale_t locale = UpperCaseLocale())
      c = static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), locale));
  }
  return key;
}

}  // namespace vlm
