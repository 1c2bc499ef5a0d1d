#include "compose/size_rule.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace vlm {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}
bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

}  // namespace

std::optional<double> ParseDecimal(std::wstring_view text, wchar_t decimalSeparator) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  // Rewritten into the C locale's form for strtod, character by character as validated.
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) plain += char(text[i++]);
  bool digits = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, digits = true) plain += char(text[i]);
  if (i < text.size() && text[i] == decimalSeparator) {
    plain += '.';
    for (++i; i < text.size() && IsDigit(text[i]); ++i, digits = true) plain += char(text[i]);
  }
  if (!digits) return std::nullopt;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) plain += char(text[i++]);
    bool exponentDigits = false;
    for (; i < text.size() && IsDigit(text[i]); ++i, exponentDigits = true) plain += char(text[i]);
    if (!exponentDigits) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  const double value = std::strtod(plain.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double OverSizeThreshold(std::wstring_view text, wchar_t decimalSeparator) {
  return ParseDecimal(text, decimalSeparator).value_or(1.0);
}

bool IsLargeItem(std::int64_t size, double thresholdMByte) {
  return size >= 0 && static_cast<double>(size) / kDropMByte > thresholdMByte;
}

}  // namespace vlm
