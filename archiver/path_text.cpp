#include "archiver/path_text.h"
#include "base/text.h"

#include <algorithm>

namespace vlm {
namespace {

bool IsDelimiter(wchar_t c) {
  return c == L'\\' || c == L'/' || c == L':';
}

size_t FileNameStart(std::wstring_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsDelimiter(path[i - 1])) return i;
  }
  return 0;
}

// Index of the extension's dot inside the file-name part, or npos.
size_t ExtensionStart(std::wstring_view path) {
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring_view::npos || dot < FileNameStart(path)) return std::wstring_view::npos;
  return dot;
}

#ifdef _WIN32
constexpr wchar_t kPathDelimiter = L'\\';
#else
constexpr wchar_t kPathDelimiter = L'/';
#endif

}  // namespace

std::wstring ExtractFileName(std::wstring_view path) {
  return std::wstring(path.substr(FileNameStart(path)));
}

std::wstring ExtractFileExt(std::wstring_view path) {
  const size_t dot = ExtensionStart(path);
  return dot == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(dot));
}

std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext) {
  const size_t dot = ExtensionStart(path);
  std::wstring out(path.substr(0, dot == std::wstring_view::npos ? path.size() : dot));
  out += ext;
  return out;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring out(folder);
  if (!out.empty() && out.back() != L'\\' && out.back() != L'/') out += kPathDelimiter;
  out += name;
  return out;
}

bool SameTextAscii(std::wstring_view a, std::wstring_view b) {
  return EqualsIgnoringAsciiCase(a, b);
}

}  // namespace vlm
