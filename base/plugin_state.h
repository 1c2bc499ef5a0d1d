#pragma once
// The plug-in's process-wide state that more than one area reads; there is one of each. State
// that only one area reads lives in that area (the compose hook, the load's findings, crash
// reports).
#include <string>

#include "base/host_api.h"

class TForm1;

namespace vlm {
using TAppWindowHandle = void*;
}  // namespace vlm

// The bound host functions; created at library load, destroyed at unload.
extern TBeckyAPI* HostApi;
// The settings form, whose controls hold the live settings; from BKC_OnStart to BKC_OnExit.
extern TForm1* SettingsForm;
// The hidden window that owns every message box the plug-in shows.
extern vlm::TAppWindowHandle AppWindow;
// Initial folder of the add-file dialog.
extern std::wstring OpenPath;
