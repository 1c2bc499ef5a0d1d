#include "compose/size_rule.h"

#include "base/decimal_text.h"

namespace vlm {

double OverSizeThreshold(std::wstring_view text, wchar_t decimalSeparator) {
  return ParseDecimal(text, decimalSeparator).value_or(1.0);
}

bool IsLargeItem(std::int64_t size, double thresholdMByte) {
  return size >= 0 && static_cast<double>(size) / kDropMByte > thresholdMByte;
}

}  // namespace vlm
