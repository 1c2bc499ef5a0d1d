#include "plugin/win32/environment.h"

#include <shellapi.h>
#include <shlobj.h>

#include <stdexcept>
#include <vector>

#include "plugin/mime_table.h"
#include "plugin/win32/scoped.h"

namespace vlm {
namespace {

bool ReadHostSetting(const wchar_t* valueName) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\RIMArts\\B2\\Settings", 0, KEY_READ, &raw) !=
      ERROR_SUCCESS)
    throw std::runtime_error("Error: Cannot open registry key.");
  win::ScopedKey key(raw);
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return false;
  return value != 0;
}

DWORD MajorVersion() {
  // GetVersionEx lies to applications without a compatibility manifest; the kernel does not.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  auto rtl = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (rtl && rtl(&info) == 0) return info.dwMajorVersion;
  return 0;
}

bool Execute(HWND owner, const wchar_t* verb, const std::wstring& program,
             const std::wstring& parameters, SHELLEXECUTEINFOW& info) {
  info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = verb;
  info.lpFile = program.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace

HMODULE ModuleHandle() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModuleHandle), &module);
  return module;
}

bool HostPartialSending() {
  return ReadHostSetting(L"Partial");
}
bool HostComposeThread() {
  return ReadHostSetting(L"ComposeThread");
}

bool IsVistaOrLater() {
  return MajorVersion() > 5;
}

HANDLE RunElevated(HWND owner, const std::wstring& program, const std::wstring& parameters) {
  SHELLEXECUTEINFOW info;
  if (!Execute(owner, IsVistaOrLater() ? L"runas" : L"open", program, parameters, info))
    return nullptr;
  return info.hProcess;
}

DWORD RunElevatedAndWait(HWND owner, const std::wstring& program, const std::wstring& parameters) {
  SHELLEXECUTEINFOW info;
  const bool started =
      Execute(owner, MajorVersion() < 6 ? L"open" : L"runas", program, parameters, info);
  win::ScopedHandle process(info.hProcess);
  if (!started || reinterpret_cast<INT_PTR>(info.hInstApp) <= 32 || !process) return 1;
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 1;
  if (!GetExitCodeProcess(process.get(), &code)) return 1;
  return code;
}

std::int64_t FileSizeOf(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  win::ScopedFindHandle find(FindFirstFileW(path.c_str(), &data));
  if (!find) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring DesktopFolder(HWND owner) {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(owner, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  return path;
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

std::wstring LookupMimeType(const std::wstring& extension) {
  return LookupMimeType(extension, [](int id) {
    const wchar_t* text = nullptr;
    const int n =
        LoadStringW(ModuleHandle(), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
  });
}

}  // namespace vlm
