#include "tests/host/screenshot.h"

#include <fstream>
#include <vector>

#include "tests/host/host_world.h"
#include "tests/host/message_boxes.h"
#include "tests/host/scenario.h"
#include "tests/host/transcript.h"

namespace host {

BITMAPINFOHEADER Bmp24Header(int width, int height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = (static_cast<DWORD>(width) * 3 + 3) / 4 * 4 * static_cast<DWORD>(height);
  return header;
}

bool SaveBmp24(const std::wstring& path, const BITMAPINFOHEADER& header, const void* pixels) {
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(static_cast<const char*>(pixels), static_cast<std::streamsize>(header.biSizeImage));
  return out.good();
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
  RECT rect{};
  if (window)
    GetWindowRect(window, &rect);
  else
    rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  // A window is read through its own DC: its surface holds what it painted even where the
  // screen's copy is not up to date yet.
  HDC screen = window ? GetWindowDC(window) : GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, window ? 0 : rect.left, window ? 0 : rect.top,
         SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info = Bmp24Header(width, height);
  std::vector<char> pixels(info.biSizeImage);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return SaveBmp24(path, info, pixels.data());
}

namespace {
// `screenshot <file.bmp> [window]`: the whole screen, or one of the host's windows (main,
// composeN) brought to the front, into the work folder.
const VerbRegistration screenshot("screenshot", [](const std::string& args, Script&) {
  const size_t space = args.find(' ');
  const std::string file = args.substr(0, space);
  HWND window = nullptr;
  if (space != std::string::npos) {
    window = World().WindowByName(args.substr(space + 1));
    if (!window) {
      Log().Line("error: screenshot: no window " + args.substr(space + 1));
      return false;
    }
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  }
  const bool ok = SaveScreenshot(window, WorkPath(file));
  Log().Line("screenshot " + args + (ok ? "" : " FAILED"));
  return ok;
});

// `box-screenshot <file.bmp>`: the next message box is photographed before it is answered.
const VerbRegistration boxScreenshot("box-screenshot", [](const std::string& args, Script&) {
  QueueBoxScreenshot(WorkPath(args));
  return true;
});
}  // namespace

}  // namespace host
