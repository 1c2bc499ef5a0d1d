#pragma once
// What the compose-window hook does with a message the host's main thread takes off its queue:
// drops on the main window or a recorded compose window, and Ctrl+V with a bitmap, are handled
// by the plug-in; everything else goes to the host untouched.
#include <cstdint>
#include <functional>

#include "compose/drop_services.h"
#include "compose/hook_platform.h"
#include "compose/drop_settings.h"

namespace vlm {

inline constexpr unsigned kWmKeyDown = 0x0100;
inline constexpr unsigned kWmDropFiles = 0x0233;

// The fields of the retrieved message record the hook reads; `message` points at the record's
// id, which the hook rewrites to WM_NULL (0) to keep the message from the host.
struct THookedMessage {
  HostWnd window = nullptr;
  unsigned* message = nullptr;
  std::uintptr_t wParam = 0;
};

// Handles one message removed from the queue (the hook's HC_ACTION with PM_REMOVE).
//
// Re-entry: message boxes and dialogs run nested message loops, whose messages pass through the
// hook again. While one drop or paste is being handled, any other drop or key press is left to
// the host untouched, so one flow never starts inside another (and the dialogs' own fields keep
// their ordinary paste).
// The settings are read through `readSettings` only once a drop or a paste is to be handled:
// every key press passes through here.
using TDropSettingsReader = std::function<TDropSettings()>;
void HandleHookedMessage(const THookedMessage& message, const TDropSettingsReader& readSettings,
                         THookPlatform& platform, TDropServices& services);

// True while a drop or paste is being handled.
[[nodiscard]] bool HookIsHandling();

}  // namespace vlm
