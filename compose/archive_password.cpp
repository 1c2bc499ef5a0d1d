#include "compose/archive_password.h"

namespace vlm {

std::wstring PasswordProblem(std::wstring_view password) {
  if (password.empty()) return L"何も記入されていません。";
  if (password.find(L'"') != std::wstring_view::npos) return L"パスワードに「\"」は使えません。";
  return {};
}

std::wstring PasswordSwitch(std::wstring_view password) {
  const bool blank = password.find_first_of(L" \t") != std::wstring_view::npos;
  const std::wstring text(password);
  return blank ? L"-P \"" + text + L"\"" : L"-P " + text;
}

}  // namespace vlm
