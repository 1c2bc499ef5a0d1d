#include "base/win32/os_version.h"

#include <windows.h>

namespace vlm {
namespace {

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

}  // namespace

bool IsVistaOrLater() {
  return MajorVersion() > 5;
}

}  // namespace vlm
