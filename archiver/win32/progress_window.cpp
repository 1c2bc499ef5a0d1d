#include "archiver/win32/progress_window.h"

#include "archiver/archiver_errors.h"
#include "base/win32/module.h"

namespace vlm {
namespace {

constexpr wchar_t kClassName[] = L"VelmoraArchiverProgress";

}  // namespace

UINT ArcExtractMessage() {
  static const UINT message = RegisterWindowMessageW(L"wm_arcextract");
  return message;
}

TProgressWindow::TProgressWindow(THandler handler) : FHandler(std::move(handler)) {
  const HINSTANCE module = ModuleHandle();
  WNDCLASSW windowClass{};
  if (!GetClassInfoW(module, kClassName, &windowClass)) {
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
  }
  // Never shown: it only gives the DLL somewhere to send its messages.
  FHandle =
      CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, module, this);
  if (!FHandle) throw EArchiver(L"進行状況を受け取るウィンドウを作成できません。");
}

TProgressWindow::~TProgressWindow() {
  if (FHandle) DestroyWindow(FHandle);
}

LRESULT CALLBACK TProgressWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == ArcExtractMessage()) {
    auto* self = reinterpret_cast<TProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->FHandler) {
      return self->FHandler(static_cast<int>(wParam), reinterpret_cast<LPEXTRACTINGINFOEX>(lParam))
                 ? 1
                 : 0;
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vlm
