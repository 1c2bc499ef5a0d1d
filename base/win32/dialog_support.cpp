#include "base/win32/dialog_support.h"

#include "base/win32/module.h"
#include "resources/resource_ids.h"

namespace vlm {

TThemedScope::TThemedScope() {
  const std::wstring source = ModulePath();
  ACTCTXW context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.hModule = ModuleHandle();
  context.lpSource = source.c_str();
  context.lpResourceName = MAKEINTRESOURCEW(IDR_IsolationManifest);
  context_ = CreateActCtxW(&context);
  if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_)) cookie_ = 0;
}

TThemedScope::~TThemedScope() {
  if (cookie_) DeactivateActCtx(0, cookie_);
  if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
}

void ApplyFormFont(HWND dialog, win::TScopedGdiObject& font) {
  LOGFONTW face{};
  face.lfHeight = -12;
  face.lfWeight = FW_NORMAL;
  face.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(face.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
  font.reset(CreateFontIndirectW(&face));
  if (!font) return;
  const WPARAM handle = reinterpret_cast<WPARAM>(font.get());
  SendMessageW(dialog, WM_SETFONT, handle, FALSE);
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    SendMessageW(c, WM_SETFONT, handle, FALSE);
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

SIZE TextSize(HWND control) {
  const std::wstring text = WindowText(control);
  win::TScopedWindowDC window(control);
  const HDC dc = window.get();
  win::TScopedSelection font(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  size.cy = metrics.tmHeight;
  return size;
}

RECT RectInDialog(HWND dialog, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void MoveControl(HWND control, int x, int y, int w, int h) {
  SetWindowPos(control, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeAndCentre(HWND dialog, int clientWidth, int clientHeight) {
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
            y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetWindowPos(dialog, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceRadioItems(HWND dialog, int groupId, const int* items, int count, int columns) {
  const RECT group = RectInDialog(dialog, GetDlgItem(dialog, groupId));
  const int captionHeight = TextSize(GetDlgItem(dialog, groupId)).cy;
  const int width = (group.right - group.left - 10) / columns;
  const int rows = (count + columns - 1) / columns;
  const int height = (group.bottom - group.top - captionHeight - 5) / rows;
  for (int i = 0; i < count; ++i)
    MoveControl(GetDlgItem(dialog, items[i]), group.left + 8 + (i % columns) * width,
                group.top + captionHeight + 1 + (i / columns) * height, width, height);
}

}  // namespace vlm
