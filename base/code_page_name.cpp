#include "base/code_page_name.h"

#include "base/ansi_text.h"

namespace vlm {
namespace {

bool AllowedInFileName(wchar_t c) {
  return c >= 0x20 && std::wstring_view(L"\\/:*?\"<>|").find(c) == std::wstring_view::npos;
}

}  // namespace

bool FitsCodePage(std::wstring_view path) {
  return ToAnsiExact(path).has_value();
}

std::wstring NearestCodePageName(std::wstring_view name) {
  std::wstring out;
  for (const wchar_t c : BestFitAnsi(name))
    out += AllowedInFileName(c) && FitsCodePage(std::wstring_view(&c, 1)) ? c : L'_';
  // Windows drops a trailing dot or space from a name, which would make it another file's.
  if (!out.empty() && (out.back() == L'.' || out.back() == L' ')) out.back() = L'_';
  return out.empty() ? L"_" : out;
}

std::wstring NumberedName(std::wstring_view name, int number) {
  size_t dot = name.rfind(L'.');
  if (dot == 0 || dot == std::wstring_view::npos) dot = name.size();
  return std::wstring(name.substr(0, dot)) + L" (" + std::to_wstring(number) + L")" +
         std::wstring(name.substr(dot));
}

}  // namespace vlm
