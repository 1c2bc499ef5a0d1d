#pragma once
// When a dropped item counts as large: its size in "MByte" of 1,024,000 bytes above a threshold
// the user typed as text.
#include <cstdint>
#include <string_view>

namespace vlm {

inline constexpr double kDropMByte = 1024000.0;

// The threshold in MByte from the setting's text, read by ParseDecimal as Save checks it; 1 when
// the text is not a number.
[[nodiscard]] double OverSizeThreshold(std::wstring_view text, wchar_t decimalSeparator);

// size / 1,024,000 > threshold; a size that could not be read (negative) is never large.
[[nodiscard]] bool IsLargeItem(std::int64_t size, double thresholdMByte);

}  // namespace vlm
