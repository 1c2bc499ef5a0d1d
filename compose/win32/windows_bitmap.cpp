#include "compose/win32/windows_bitmap.h"

#include "base/win32/scoped.h"

namespace vlm {
namespace {

BITMAPINFOHEADER TopDownHeader(int width, int height, int bitsPerPixel) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitsPerPixel);
  header.biCompression = BI_RGB;
  return header;
}

// The bitmap's own format as GetDIBits reports it, with the size of its pixel data.
std::optional<BITMAPINFOHEADER> Describe(HDC dc, HBITMAP bitmap) {
  // Room for a colour table or bit masks after the header, which GetDIBits may fill.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof info.header;
  if (!GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
    return std::nullopt;
  BITMAPINFOHEADER& h = info.header;
  if (h.biWidth <= 0 || h.biHeight == 0) return std::nullopt;
  if (h.biSizeImage == 0) {
    const DWORD stride = ((static_cast<DWORD>(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    h.biSizeImage = stride * static_cast<DWORD>(h.biHeight < 0 ? -h.biHeight : h.biHeight);
  }
  return h;
}

std::optional<TClipboardPicture> ReadBitmap(HBITMAP bitmap) {
  // A huge picture may not fit a 32-bit process: std::bad_alloc passes through here, and the
  // screen's DC must still go back.
  win::TScopedWindowDC screen(nullptr);
  const HDC dc = screen.get();
  std::optional<TClipboardPicture> result;
  if (const auto described = Describe(dc, bitmap)) {
    const int height = described->biHeight < 0 ? -described->biHeight : described->biHeight;
    try {
      // A 32-bit picture keeps its depth (the bitmap saved unchanged); any other becomes 24-bit.
      TBitmapImage image(described->biWidth, height, described->biBitCount == 32 ? 32 : 24);
      BITMAPINFOHEADER header = TopDownHeader(image.Width, image.Height, image.BitsPerPixel);
      if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), image.Pixels.data(),
                    reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height)
        result = TClipboardPicture{std::move(image), described->biSizeImage};
    } catch (const EImageEncode&) {
      // A size the picture type cannot hold: treated as unmeasurable.
    }
  }
  return result;
}

}  // namespace

std::optional<TClipboardPicture> TakeClipboardPicture(HWND owner) {
  // Left open, the clipboard would stay locked to the host's thread for every other program.
  win::TScopedClipboard clipboard(owner);
  if (!clipboard.opened()) return std::nullopt;
  std::optional<TClipboardPicture> picture;
  if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) picture = ReadBitmap(bitmap);
  return picture;
}

std::optional<TBitmapImage> LoadBitmapFile(const std::wstring& path) {
  win::TScopedGdiObject bitmap(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) return std::nullopt;
  auto picture = ReadBitmap(static_cast<HBITMAP>(bitmap.get()));
  if (!picture) return std::nullopt;
  return std::move(picture->Image);
}

void DrawPicture(HDC dc, const TBitmapImage& image, const RECT& target) {
  if (image.Pixels.empty()) return;
  BITMAPINFOHEADER header = TopDownHeader(image.Width, image.Height, image.BitsPerPixel);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                0, 0, image.Width, image.Height, image.Pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace vlm
