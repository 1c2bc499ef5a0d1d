#pragma once
// What the library load learns once, for the callbacks that come after it.
#include <string>

// VersionString1 of the module's own version ("1.000" for 1.0.0.0).
extern std::wstring PluginVersion;
// The host's ComposeThread setting as read once at load.
extern bool ComposeThreadAtStart;
