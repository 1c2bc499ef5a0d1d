// The library's own exports that wrap host calls on compose windows and the temporary folder.
#include <windows.h>

#include "base/win32/host_helpers.h"

// Exported undecorated through velmora.def.
#define VLM_EXPORT extern "C"

VLM_EXPORT HWND WINAPI VlmComposeMail(const char* text, const char* file) {
  return vlm::ComposeMailWithFile(text, file);
}

VLM_EXPORT HWND WINAPI VlmCompAttachFile(HWND window, const char* text, const char* file) {
  return vlm::AttachFileToCompose(window, text, file);
}

VLM_EXPORT void WINAPI VlmSetMessageText(HWND window, const char* text) {
  vlm::SetHostMessageText(window, text);
}

VLM_EXPORT void WINAPI VlmGetTempFolder() {
  vlm::RefreshTempFolder();
}
