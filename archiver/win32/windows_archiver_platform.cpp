#include "archiver/win32/windows_archiver_platform.h"

#include <vector>

#include "archiver/win32/format_bindings.h"
#include "base/files.h"
#include "base/win32/scoped.h"

namespace vlm {

bool TWindowsArchiverPlatform::ZipDllLoaded(TZipModule dll) const {
  const win::TZipBinding* binding = win::ZipBinding();
  return binding && binding->Loaded(dll);
}

std::optional<std::wstring> TWindowsArchiverPlatform::SearchExecutablePath(
    const std::wstring& module) const {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = SearchPathW(nullptr, module.c_str(), nullptr,
                                     static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

std::optional<std::wstring> TWindowsArchiverPlatform::ReadMachineRegistryString(
    const std::wstring& keyName, const std::wstring& valueName) const {
  std::wstring key = keyName;
  while (!key.empty() && key.front() == L'\\') key.erase(0, 1);
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  win::TScopedKey opened(raw);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(raw, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(raw, valueName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

bool TWindowsArchiverPlatform::FileExists(const std::wstring& fileName) const {
  return vlm::FileExists(fileName);
}

std::wstring TWindowsArchiverPlatform::ExpandFileName(const std::wstring& fileName) const {
  const DWORD length = GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
  if (length == 0) return fileName;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(fileName.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return fileName;
  full.resize(written);
  return full;
}

}  // namespace vlm
