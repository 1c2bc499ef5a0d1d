#pragma once
#include <windows.h>

#include <string>

namespace vlm {

// The plug-in's hidden application window, created on first use; it owns every message box.
HWND EnsureAppWindow();

// A message box owned by AppWindow and kept topmost; the standard result (1 OK, 6 Yes, 7 No, ...).
int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags);

}  // namespace vlm
