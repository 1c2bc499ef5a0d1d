#pragma once
// What the host callbacks do, one entry per event; each may throw, the export catches.
#include <windows.h>

namespace vlm {

void StartPlugin();
void ExitPlugin();
void AddMenuItems(HMENU menu, int type);
void RecordComposeWindow(HWND window);
void OnRetrieve(const char* mail);
// 0 to let the host send, -1 to cancel.
int CheckBeforeSend(const char* message);
void ShowSettings();

}  // namespace vlm
