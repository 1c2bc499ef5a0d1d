#include "compose/hook_handler.h"

#include <optional>
#include <string>

#include "compose/drop_message.h"
#include "compose/dropped_item.h"
#include "base/text.h"

namespace vlm {
namespace {

constexpr int kKeyV = 0x56;
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;
constexpr int kVkTab = 0x09;

// The one flow in progress on the host's main thread; the hook runs nowhere else.
bool gHandling = false;

class HandlingScope {
 public:
  HandlingScope() { gHandling = true; }
  ~HandlingScope() { gHandling = false; }
  HandlingScope(const HandlingScope&) = delete;
  HandlingScope& operator=(const HandlingScope&) = delete;
};

// Tested in this order, so the clipboard is only looked at for a real Ctrl+V.
bool IsBitmapPaste(const THookedMessage& message, THookPlatform& platform) {
  return message.wParam == kKeyV && platform.IsKeyDown(kVkControl) &&
         !platform.IsKeyDown(kVkShift) && !platform.IsKeyDown(kVkMenu) &&
         !platform.IsKeyDown(kVkTab) && platform.ClipboardHasBitmap();
}

// A decimal window handle as NewMesWindow records it; nothing for anything else.
std::optional<HostWnd> ParseWindow(const std::wstring& text) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::uintptr_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<std::uintptr_t>(c - L'0');
  }
  return reinterpret_cast<HostWnd>(value);
}

// Works out which host window the message belongs to; false when it is none of the plug-in's.
bool RecogniseWindow(const THookedMessage& hooked, HostWnd target, TDropMessage& message,
                     const TDropSettings& settings, THookPlatform& platform) {
  if (settings.B2OhWnd)
    message.FromMainWindow =
        target == settings.B2OhWnd || platform.IsDescendant(settings.B2OhWnd, hooked.window);
  // Handles of closed compose windows stay in the list and may come back on another window.
  for (const std::wstring& entry : settings.NewMesWindow) {
    const std::optional<HostWnd> window = ParseWindow(entry);
    if (!window) continue;
    if (LowerAscii(platform.ClassName(*window)).find(L"becky2composeframe") == std::wstring::npos)
      continue;
    if (platform.IsDescendant(*window, hooked.window)) {
      message.ComposeWindow = *window;
      break;
    }
  }
  return message.FromMainWindow || message.ComposeWindow;
}

void HandleItems(const THookedMessage& hooked, const std::wstring* pastedFile,
                 TDropMessage& message, THookPlatform& platform) {
  const unsigned count = pastedFile ? 1 : platform.DropItemCount(hooked.wParam);
  for (unsigned index = 0; index < count; ++index) {
    const std::wstring path = pastedFile ? *pastedFile : platform.DropItem(hooked.wParam, index);
    if (path.empty()) continue;
    if (ProcessDroppedItem(path, message) == TItemOutcome::EndMessage) break;
  }
}

void HandleDrop(const THookedMessage& hooked, const TDropSettings& settings,
                THookPlatform& platform, TDropServices& services) {
  TDropMessage message(settings, services, *hooked.message);
  if (!RecogniseWindow(hooked, hooked.window, message, settings, platform)) return;
  HandleItems(hooked, nullptr, message, platform);
  if (message.Consumed()) platform.ReleaseDrop(hooked.wParam);
}

void HandlePaste(const THookedMessage& hooked, const TDropSettings& settings,
                 THookPlatform& platform, TDropServices& services) {
  const HostWnd target = platform.ForegroundWindow();
  services.Host.RefreshTempFolder();
  TDropMessage message(settings, services, *hooked.message);
  std::wstring fileName;
  if (!platform.ShowImageDialog([&] { message.Consume(); }, fileName)) return;
  if (!RecogniseWindow(hooked, target, message, settings, platform)) return;
  HandleItems(hooked, &fileName, message, platform);
}

}  // namespace

bool HookIsHandling() {
  return gHandling;
}

void HandleHookedMessage(const THookedMessage& hooked, const TDropSettingsReader& readSettings,
                         THookPlatform& platform, TDropServices& services) {
  const unsigned id = *hooked.message;
  if (id != kWmKeyDown && id != kWmDropFiles) return;
  if (gHandling) return;
  if (id == kWmKeyDown) {
    if (!IsBitmapPaste(hooked, platform)) return;
    HandlingScope scope;
    HandlePaste(hooked, readSettings(), platform, services);
  } else {
    HandlingScope scope;
    HandleDrop(hooked, readSettings(), platform, services);
  }
}

}  // namespace vlm
