#include "compose/item_path.h"
#include "base/text.h"

namespace vlm {
namespace {

// Position of the last character of `delimiters` in `path`, or npos.
size_t LastOf(std::wstring_view path, std::wstring_view delimiters) {
  return path.find_last_of(delimiters);
}

}  // namespace

std::wstring FileNamePart(std::wstring_view path) {
  const size_t at = LastOf(path, L"\\:");
  return std::wstring(at == std::wstring_view::npos ? path : path.substr(at + 1));
}

std::wstring LowerExtension(std::wstring_view path) {
  const size_t at = LastOf(path, L".\\:");
  if (at == std::wstring_view::npos || path[at] != L'.') return {};
  return LowerAscii(std::wstring(path.substr(at)));
}

std::wstring ChangeExtension(std::wstring_view path, std::wstring_view extension) {
  size_t at = LastOf(path, L".\\:");
  if (at == std::wstring_view::npos || path[at] != L'.') at = path.size();
  return std::wstring(path.substr(0, at)) + std::wstring(extension);
}

std::wstring FolderPart(std::wstring_view path) {
  const size_t at = path.find_last_of(L'\\');
  if (at == std::wstring_view::npos) return {};
  const bool driveRoot = at == 2 && path[1] == L':';
  return std::wstring(path.substr(0, driveRoot ? at + 1 : at));
}

}  // namespace vlm
