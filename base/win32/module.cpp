#include "base/win32/module.h"

#include <vector>

#include "base/mime_table.h"

namespace vlm {

HMODULE ModuleHandle() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModuleHandle), &module);
  return module;
}

std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n =
        GetModuleFileNameW(ModuleHandle(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring ModuleBaseName() {
  const std::wstring path = ModulePath();
  const size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

namespace {

std::wstring MimeRow(int id) {
  const wchar_t* text = nullptr;
  const int n =
      LoadStringW(ModuleHandle(), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  return n > 0 ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
}

}  // namespace

std::wstring LookupMimeType(const std::wstring& extension) {
  return LookupMimeType(extension, MimeRow);
}

std::optional<std::wstring> FindMimeType(const std::wstring& extension) {
  return FindMimeType(extension, MimeRow);
}

}  // namespace vlm
