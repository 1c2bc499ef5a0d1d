#include "plugin/win32/load_state.h"

std::wstring PluginVersion;
bool ComposeThreadAtStart = false;
