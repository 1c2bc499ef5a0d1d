#pragma once
// Decimal numbers as the user types them into the settings: the one reading that both the check
// on Save and the drop handling's size rule use, so a text Save accepts is read to the same
// number wherever it is used.
#include <optional>
#include <string_view>

namespace vlm {

// The text as a decimal number written with `decimalSeparator` (the user's locale): optional
// blanks around it, a sign, ASCII digits with at most one separator, and an exponent ("1e2").
// Nothing when the text is not such a number or the number is too large for a double; no
// thousands separators, and no digits of other scripts (full-width, Arabic-Indic), whatever the
// C runtime's character classes say.
[[nodiscard]] std::optional<double> ParseDecimal(std::wstring_view text, wchar_t decimalSeparator);

}  // namespace vlm
