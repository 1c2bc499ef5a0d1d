#pragma once
#include <windows.h>

#include <string>

namespace host {
// The header of a 24-bit bottom-up picture of the given size, its rows padded to four bytes.
BITMAPINFOHEADER Bmp24Header(int width, int height);
// Writes such rows (`pixels`, biSizeImage bytes of them) as a BMP file; false on failure.
bool SaveBmp24(const std::wstring& path, const BITMAPINFOHEADER& header, const void* pixels);
// Saves what `window` shows (the whole screen for null) as a 24-bit BMP; false on failure.
bool SaveScreenshot(HWND window, const std::wstring& path);
}  // namespace host
