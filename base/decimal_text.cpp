#include "base/decimal_text.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

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

  // Rewritten into the plain form from_chars reads, character by character as validated; unlike
  // strtod it does not depend on a C runtime locale that the host may have changed.
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    if (text[i] == L'-') plain += '-';
    ++i;
  }
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
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

}  // namespace vlm
