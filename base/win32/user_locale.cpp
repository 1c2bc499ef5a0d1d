#include "base/win32/user_locale.h"

#include <windows.h>

namespace vlm {

wchar_t UserDecimalSeparator() {
  wchar_t text[8] = L"";
  if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) || !text[0]) return L'.';
  return text[0];
}

}  // namespace vlm
