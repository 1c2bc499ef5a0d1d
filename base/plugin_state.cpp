#include "base/plugin_state.h"

TBeckyAPI* HostApi = nullptr;
TForm1* SettingsForm = nullptr;
vlm::TAppWindowHandle AppWindow = nullptr;
std::wstring OpenPath;
