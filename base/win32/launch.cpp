#include "base/win32/launch.h"

#include <shellapi.h>

#include "base/win32/os_version.h"

namespace vlm {
namespace {

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

// Before Vista there is no elevation to ask for, and "runas" would ask for another account.
const wchar_t* ElevatingVerb() {
  return IsVistaOrLater() ? L"runas" : L"open";
}

}  // namespace

win::TScopedHandle RunElevated(HWND owner, const std::wstring& program,
                               const std::wstring& parameters) {
  SHELLEXECUTEINFOW info;
  if (!Execute(owner, ElevatingVerb(), program, parameters, info)) return {};
  return win::TScopedHandle(info.hProcess);
}

DWORD RunElevatedAndWait(HWND owner, const std::wstring& program, const std::wstring& parameters) {
  SHELLEXECUTEINFOW info;
  const bool started = Execute(owner, ElevatingVerb(), program, parameters, info);
  win::TScopedHandle process(info.hProcess);
  if (!started || reinterpret_cast<INT_PTR>(info.hInstApp) <= 32 || !process) return 1;
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 1;
  if (!GetExitCodeProcess(process.get(), &code)) return 1;
  return code;
}

void StartArchiverInstaller(HWND owner, const std::wstring& pluginFolder) {
  // The process is not waited for: its handle is closed at once.
  const win::TScopedHandle process = RunElevated(owner, pluginFolder + L"caldix.exe", L"");
}

}  // namespace vlm
