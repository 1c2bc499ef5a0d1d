#pragma once
// When a dropped item counts as large: its size in "MByte" of 1,024,000 bytes above a threshold
// the user typed as text.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vlm {

inline constexpr double kDropMByte = 1024000.0;

// The text as a decimal number written with `decimalSeparator` (the user's locale): optional
// blanks around it, a sign, digits with at most one separator, and an exponent ("1e2"). Nothing
// when the text is not such a number; no thousands separators.
[[nodiscard]] std::optional<double> ParseDecimal(std::wstring_view text, wchar_t decimalSeparator);

// The threshold in MByte from the setting's text; 1 when the text is not a number.
[[nodiscard]] double OverSizeThreshold(std::wstring_view text, wchar_t decimalSeparator);

// size / 1,024,000 > threshold; a size that could not be read (negative) is never large.
[[nodiscard]] bool IsLargeItem(std::int64_t size, double thresholdMByte);

}  // namespace vlm
