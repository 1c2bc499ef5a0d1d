#pragma once
// Starting other programs through the shell.
#include <windows.h>

#include <string>

#include "base/win32/scoped.h"

namespace vlm {

// Starts `program` through the shell ("runas" from Vista on); the process, or none.
[[nodiscard]] win::TScopedHandle RunElevated(HWND owner, const std::wstring& program,
                                             const std::wstring& parameters);
// As RunElevated, then waits for the program; its exit code, or non-zero when it did not start.
DWORD RunElevatedAndWait(HWND owner, const std::wstring& program, const std::wstring& parameters);
// Starts the archiver installer caldix.exe from the plug-in folder (ending in a separator);
// whether it started is not reported.
void StartArchiverInstaller(HWND owner, const std::wstring& pluginFolder);

}  // namespace vlm
