#pragma once
// Letter case the way protocols and file extensions use it: ASCII letters only, whatever the
// locale, so that "İ" or a full-width "Ａ" never matches by accident.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace vlm {

constexpr char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr wchar_t LowerAscii(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

inline std::wstring LowerAscii(std::wstring text) {
  for (wchar_t& c : text) c = LowerAscii(c);
  return text;
}

// Whether `text` (of char or wchar_t) holds 7-bit characters only. No branch per character, so
// the compiler compares many at a time.
template <typename Text>
bool IsAsciiText(const Text& text) {
  std::uint32_t beyondAscii = 0;
  for (const auto c : text) beyondAscii |= static_cast<std::uint32_t>(c) & ~0x7Fu;
  return beyondAscii == 0;
}

template <typename Char>
bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Char x, Char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return EqualsIgnoringAsciiCase<char>(a, b);
}
inline bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return EqualsIgnoringAsciiCase<wchar_t>(a, b);
}

}  // namespace vlm
