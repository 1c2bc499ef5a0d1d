#include "base/win32/app_window.h"

#include "base/plugin_state.h"
#include "base/win32/module.h"

namespace vlm {

HWND EnsureAppWindow() {
  static const wchar_t kClass[] = L"VelmoraApplication";
  HWND existing = FindWindowW(kClass, nullptr);
  if (existing && GetWindowThreadProcessId(existing, nullptr) &&
      GetWindowLongPtrW(existing, GWLP_HINSTANCE) == reinterpret_cast<LONG_PTR>(ModuleHandle())) {
    DWORD pid = 0;
    GetWindowThreadProcessId(existing, &pid);
    if (pid == GetCurrentProcessId()) return existing;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = ModuleHandle();
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);  // fails harmlessly when already registered
  return CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"Velmora", WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, ModuleHandle(), nullptr);
}

int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags) {
  return MessageBoxW(static_cast<HWND>(AppWindow), text.c_str(), caption.c_str(),
                     flags | MB_TOPMOST);
}

}  // namespace vlm
