#include "base/win32/host_registry.h"

#include <windows.h>

#include <stdexcept>

#include "base/win32/scoped.h"

namespace vlm {
namespace {

bool ReadHostSetting(const wchar_t* valueName) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\RIMArts\\B2\\Settings", 0, KEY_READ, &raw) !=
      ERROR_SUCCESS)
    throw std::runtime_error("Error: Cannot open registry key.");
  win::TScopedKey key(raw);
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return false;
  return value != 0;
}

}  // namespace

bool HostPartialSending() {
  return ReadHostSetting(L"Partial");
}
bool HostComposeThread() {
  return ReadHostSetting(L"ComposeThread");
}

}  // namespace vlm
