#include "compose/win32/compose_hook.h"

#include <windows.h>
#include <shellapi.h>

#include "compose/hook_handler.h"
#include "compose/win32/image_dialog.h"
#include "compose/win32/windows_drop_services.h"
#include "base/plugin_state.h"
#include "base/settings_form.h"
#include "base/win32/module.h"
#include "base/win32/export_guard.h"

namespace vlm {
namespace {

// The hook HookStart installed on the host's main thread, until HookStop.
HHOOK HookHandle = nullptr;

class WindowsHookPlatform : public THookPlatform {
 public:
  HostWnd ForegroundWindow() override { return GetForegroundWindow(); }
  bool IsKeyDown(int virtualKey) override { return GetKeyState(virtualKey) < 0; }
  bool ClipboardHasBitmap() override { return IsClipboardFormatAvailable(CF_BITMAP); }
  bool IsDescendant(HostWnd ancestor, HostWnd window) override {
    return ancestor && IsChild(static_cast<HWND>(ancestor), static_cast<HWND>(window));
  }
  std::wstring ClassName(HostWnd window) override {
    wchar_t name[100];
    const int length = GetClassNameW(static_cast<HWND>(window), name, 100);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
  }
  unsigned DropItemCount(std::uintptr_t drop) override {
    return DragQueryFileW(Drop(drop), 0xFFFFFFFF, nullptr, 0);
  }
  std::wstring DropItem(std::uintptr_t drop, unsigned index) override {
    // Read wide: from a wide list (Explorer's) the ANSI form is a best-fit path that may not
    // exist. Sized from the path's own length, so long paths are not cut off.
    std::wstring path(DragQueryFileW(Drop(drop), index, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(Drop(drop), index, path.data(), static_cast<UINT>(path.size())));
    return path;
  }
  void ReleaseDrop(std::uintptr_t drop) override { DragFinish(Drop(drop)); }
  bool ShowImageDialog(const std::function<void()>& consumeKey, std::wstring& fileName) override {
    return vlm::ShowImageDialog(consumeKey, fileName);
  }

 private:
  static HDROP Drop(std::uintptr_t drop) { return reinterpret_cast<HDROP>(drop); }
};

// Runs for every message the host's main thread takes off its queue: anything but a key press
// or a drop costs one comparison and the next hook.
LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if ((msg->message == WM_KEYDOWN || msg->message == WM_DROPFILES) && SettingsForm) {
      GuardedVoid("HookProc", [msg] {
        WindowsHookPlatform platform;
        TFormArchive archive(*SettingsForm);
        TWindowsComposeHost host;
        TDropServices services = WindowsDropServices(archive, host);
        HandleHookedMessage(
            {msg->hwnd, &msg->message, msg->wParam},
            [] { return WindowsDropSettings(*SettingsForm); }, platform, services);
      });
    }
  }
  CallNextHookEx(HookHandle, code, wParam, lParam);
  return 0;
}

}  // namespace

void HookStart() {
  HookHandle = SetWindowsHookExW(WH_GETMESSAGE, HookProc, ModuleHandle(), GetCurrentThreadId());
}

void HookStop() {
  if (HookHandle) UnhookWindowsHookEx(HookHandle);
  HookHandle = nullptr;
}

}  // namespace vlm
