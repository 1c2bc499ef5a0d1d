#pragma once
#include <windows.h>

#include <string>

namespace host {
// Saves what `window` shows (the whole screen for null) as a 24-bit BMP; false on failure.
bool SaveScreenshot(HWND window, const std::wstring& path);
}  // namespace host
