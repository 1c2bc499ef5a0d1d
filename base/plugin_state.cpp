#include "base/plugin_state.h"

TBeckyAPI* HostApi = nullptr;
TForm1* SettingsForm = nullptr;
void* HookHandle = nullptr;
std::wstring PluginVersion;
vlm::AppWindowHandle AppWindow = nullptr;
bool ComposeThreadAtStart = false;
int WinmailCommandId = 0;
int AddFileCommandId = 0;
std::wstring OpenPath;
vlm::TCrashReporter* CrashReporter = nullptr;
