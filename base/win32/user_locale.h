#pragma once
// What the user's regional settings say.

namespace vlm {

// The user's decimal separator (LOCALE_SDECIMAL), or '.' when the system does not tell.
[[nodiscard]] wchar_t UserDecimalSeparator();

}  // namespace vlm
