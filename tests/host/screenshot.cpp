#include "tests/host/screenshot.h"

#include <fstream>
#include <vector>

#include "tests/host/host_world.h"
#include "tests/host/message_boxes.h"
#include "tests/host/scenario.h"
#include "tests/host/transcript.h"

namespace host {

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

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return out.good();
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
