#include "plugin/win32/lifecycle.h"

namespace vlm {

void StartPlugin() {}
void ExitPlugin() {}
void AddMenuItems(HMENU, int) {}
void RecordComposeWindow(HWND) {}
void OnRetrieve(const char*) {}
int CheckBeforeSend(const char*) { return 0; }
void ShowSettings() {}

}  // namespace vlm
