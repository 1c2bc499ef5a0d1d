#include "compose/archive_password.h"

#include "base/code_page_name.h"

namespace vlm {
namespace {

bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The character starting at `at`: a surrogate pair (an emoji, where wide text is UTF-16) whole.
std::wstring_view CharacterAt(std::wstring_view text, size_t at) {
  const bool pair =
      at + 1 < text.size() && IsHighSurrogate(text[at]) && IsLowSurrogate(text[at + 1]);
  return text.substr(at, pair ? 2 : 1);
}

// The first character of `text` code page 932 has no exact form for; empty when there is none.
std::wstring FirstCharacterOutsideCodePage(std::wstring_view text) {
  for (size_t at = 0; at < text.size();) {
    const std::wstring_view c = CharacterAt(text, at);
    if (!FitsCodePage(c)) return std::wstring(c);
    at += c.size();
  }
  return {};
}

}  // namespace

std::wstring PasswordProblem(std::wstring_view password) {
  if (password.empty()) return L"何も記入されていません。";
  if (password.find(L'"') != std::wstring_view::npos) return L"パスワードに「\"」は使えません。";
  if (const std::wstring c = FirstCharacterOutsideCodePage(password); !c.empty()) {
    return L"パスワードに使えない文字「" + c +
           L"」が含まれています。コードページ 932 で表せる文字だけを使ってください。";
  }
  return {};
}

std::wstring PasswordSwitch(std::wstring_view password) {
  const std::wstring text(password);
  if (password.find_first_of(L" \t") == std::wstring_view::npos) return L"-P " + text;
  // A quoted password holds a blank, so it has a character other than a backslash.
  const size_t end = text.find_last_not_of(L'\\') + 1;
  return L"-P \"" + text.substr(0, end) + L"\"" + text.substr(end);
}

}  // namespace vlm
