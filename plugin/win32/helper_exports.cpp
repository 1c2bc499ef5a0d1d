// The library's own exports that wrap host calls on compose windows and the temporary folder.
#include <windows.h>

#include "base/win32/host_helpers.h"
#include "plugin/win32/exports.h"

vlm::HostWnd WINAPI VlmComposeMail(const char* text, const char* file) {
  return vlm::ComposeMailWithFile(text, file);
}

vlm::HostWnd WINAPI VlmCompAttachFile(vlm::HostWnd window, const char* text, const char* file) {
  return vlm::AttachFileToCompose(static_cast<HWND>(window), text, file);
}

void WINAPI VlmSetMessageText(vlm::HostWnd window, const char* text) {
  vlm::SetHostMessageText(static_cast<HWND>(window), text);
}

void WINAPI VlmGetTempFolder() {
  vlm::RefreshTempFolder();
}
