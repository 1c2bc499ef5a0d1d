#include "base/win32/host_helpers.h"

#include "base/ansi_text.h"
#include "base/plugin_state.h"
#include "base/settings_form.h"
#include "base/win32/export_guard.h"

namespace vlm {
namespace {
bool HasText(const char* text) {
  return text && *text;
}
}  // namespace

HWND ComposeMailWithFile(const char* text, const char* file) noexcept {
  return Guarded("VlmComposeMail", static_cast<HWND>(nullptr), [&] {
    auto window = HostApi->ComposeMail("");
    // A host that could not open the window has nothing to attach to.
    if (!window) return static_cast<HWND>(nullptr);
    HostApi->CompAttachFile(window, file, nullptr);
    if (HasText(text)) HostApi->CompSetText(window, 1, text);
    return static_cast<HWND>(window);
  });
}

HWND AttachFileToCompose(HWND window, const char* text, const char* file) noexcept {
  return Guarded("VlmCompAttachFile", window, [&] {
    HostApi->CompAttachFile(window, file, nullptr);
    if (HasText(text)) HostApi->CompSetText(window, 1, text);
    return window;
  });
}

void SetHostMessageText(HWND window, const char* text) noexcept {
  GuardedVoid("VlmSetMessageText", [&] { HostApi->SetMessageText(window, text); });
}

void RefreshTempFolder() noexcept {
  GuardedVoid("VlmGetTempFolder", [] {
    const char* folder = HostApi->GetTempFolder();
    if (SettingsForm) SettingsForm->TempFolder = FromAnsi(folder ? folder : "");
  });
}

}  // namespace vlm
