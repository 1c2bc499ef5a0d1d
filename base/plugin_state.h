#pragma once
// The plug-in's process-wide state. There is one of each; everything else reads it from here.
#include <string>

#include "base/host_api.h"

class TForm1;

namespace vlm {
using AppWindowHandle = void*;
struct TCrashReporter;
}  // namespace vlm

// The bound host functions; created at library load, destroyed at unload.
extern TBeckyAPI* HostApi;
// The settings form, whose controls hold the live settings; from BKC_OnStart to BKC_OnExit.
extern TForm1* SettingsForm;
// The compose-window message hook installed by BKC_OnStart.
extern void* HookHandle;
// VersionString1 of the module's own version ("1.000" for 1.0.0.0).
extern std::wstring PluginVersion;
// The hidden window that owns every message box the plug-in shows.
extern vlm::AppWindowHandle AppWindow;
// The host's ComposeThread setting as read once at load.
extern bool ComposeThreadAtStart;
extern int WinmailCommandId;
extern int AddFileCommandId;
// Initial folder of the add-file dialog.
extern std::wstring OpenPath;
// The memory crash reports are written in; from BKC_OnStart to the end of BKC_OnExit.
extern vlm::TCrashReporter* CrashReporter;
