// The library's own exports that wrap host calls on compose windows and the temporary folder.
#include <windows.h>

#include "plugin/ansi_text.h"
#include "plugin/plugin_state.h"
#include "plugin/settings_form.h"
#include "plugin/win32/export_guard.h"

// Exported undecorated through velmora.def.
#define VLM_EXPORT extern "C"

namespace {
bool HasText(const char* text) {
  return text && *text;
}
}  // namespace

VLM_EXPORT HWND WINAPI VlmComposeMail(const char* text, const char* file) {
  return vlm::Guarded("VlmComposeMail", static_cast<HWND>(nullptr), [&] {
    auto window = HostApi->ComposeMail("");
    // A host that could not open the window has nothing to attach to.
    if (!window) return static_cast<HWND>(nullptr);
    HostApi->CompAttachFile(window, file, nullptr);
    if (HasText(text)) HostApi->CompSetText(window, 1, text);
    return static_cast<HWND>(window);
  });
}

VLM_EXPORT HWND WINAPI VlmCompAttachFile(HWND window, const char* text, const char* file) {
  return vlm::Guarded("VlmCompAttachFile", window, [&] {
    HostApi->CompAttachFile(window, file, nullptr);
    if (HasText(text)) HostApi->CompSetText(window, 1, text);
    return window;
  });
}

VLM_EXPORT void WINAPI VlmSetMessageText(HWND window, const char* text) {
  vlm::GuardedVoid("VlmSetMessageText", [&] { HostApi->SetMessageText(window, text); });
}

VLM_EXPORT void WINAPI VlmGetTempFolder() {
  vlm::GuardedVoid("VlmGetTempFolder", [] {
    const char* folder = HostApi->GetTempFolder();
    if (SettingsForm) SettingsForm->TempFolder = vlm::FromAnsi(folder ? folder : "");
  });
}
