#pragma once
// Pictures between Windows bitmap handles and the encoders' TBitmapImage.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "compose/image_bitmap.h"

namespace vlm {

struct TClipboardPicture {
  TBitmapImage Image;
  // The size of the bitmap's device-independent pixel data as the system computes it.
  std::int64_t DibSize = 0;
};

// The picture of the clipboard's bitmap, or nothing when there is none or it cannot be measured
// or read.
std::optional<TClipboardPicture> TakeClipboardPicture(HWND owner);

// The picture a BMP file holds, or nothing when the file cannot be read as one.
std::optional<TBitmapImage> LoadBitmapFile(const std::wstring& path);

// Draws the picture scaled into `target` of `dc`.
void DrawPicture(HDC dc, const TBitmapImage& image, const RECT& target);

}  // namespace vlm
