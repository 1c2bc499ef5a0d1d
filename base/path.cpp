#include "base/path.h"
#include "base/text.h"

namespace vlm {
namespace {

constexpr std::wstring_view kSeparators = L"\\/";
constexpr std::wstring_view kNameDelimiters = L"\\/:";

#ifdef _WIN32
constexpr wchar_t kPlatformSeparator = L'\\';
#else
constexpr wchar_t kPlatformSeparator = L'/';
#endif

// Position of the extension's dot inside the last component, or npos.
size_t ExtensionStart(std::wstring_view path) {
  const size_t at = path.find_last_of(L".\\/:");
  return at != std::wstring_view::npos && path[at] == L'.' ? at : std::wstring_view::npos;
}

}  // namespace

std::wstring FileNamePart(std::wstring_view path) {
  const size_t at = path.find_last_of(kNameDelimiters);
  return std::wstring(at == std::wstring_view::npos ? path : path.substr(at + 1));
}

std::wstring FileExtension(std::wstring_view path) {
  const size_t at = ExtensionStart(path);
  return at == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(at));
}

std::wstring LowerExtension(std::wstring_view path) {
  return LowerAscii(FileExtension(path));
}

std::wstring ChangeExtension(std::wstring_view path, std::wstring_view extension) {
  const size_t at = ExtensionStart(path);
  return std::wstring(path.substr(0, at == std::wstring_view::npos ? path.size() : at)) +
         std::wstring(extension);
}

std::wstring FolderPart(std::wstring_view path) {
  const size_t at = path.find_last_of(kSeparators);
  if (at == std::wstring_view::npos) return {};
  const bool driveRoot = at == 2 && path[1] == L':';
  return std::wstring(path.substr(0, driveRoot ? at + 1 : at));
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring out;
  out.reserve(folder.size() + 1 + name.size());  // one allocation, not a second one to grow
  out += folder;
  if (!out.empty() && kSeparators.find(out.back()) == std::wstring_view::npos) {
    out += kPlatformSeparator;
  }
  out += name;
  return out;
}

}  // namespace vlm
