#pragma once
// What the plug-in's own exports VlmComposeMail, VlmCompAttachFile, VlmSetMessageText and
// VlmGetTempFolder do: compose windows, the status text and the temporary folder through the host.
// The drop handling calls these directly; the exports hand their arguments on. Each runs under the
// guard with its export's name, so nothing escapes to the host or the caller.
#include <windows.h>

namespace vlm {

// A new compose window with `file` attached and, when `text` is not empty, `text` as its body;
// null when the host could not open the window.
HWND ComposeMailWithFile(const char* text, const char* file) noexcept;
// Attaches `file` to `window` and, when `text` is not empty, sets the body; `window` back.
HWND AttachFileToCompose(HWND window, const char* text, const char* file) noexcept;
void SetHostMessageText(HWND window, const char* text) noexcept;
// Reads the host's temporary folder into the settings.
void RefreshTempFolder() noexcept;

}  // namespace vlm
