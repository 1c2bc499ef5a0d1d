#pragma once
// Starting other programs through the shell.
#include <windows.h>

#include <string>

namespace vlm {

// Starts `program` through the shell ("runas" from Vista on); the process handle, or 0.
HANDLE RunElevated(HWND owner, const std::wstring& program, const std::wstring& parameters);
// As RunElevated, then waits for the program; its exit code, or non-zero when it did not start.
DWORD RunElevatedAndWait(HWND owner, const std::wstring& program, const std::wstring& parameters);

}  // namespace vlm
