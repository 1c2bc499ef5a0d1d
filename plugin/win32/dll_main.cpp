#include <windows.h>

#include "base/plugin_state.h"
#include "base/version.h"
#include "base/win32/app_window.h"
#include "base/win32/host_registry.h"
#include "base/win32/module.h"
#include "base/win32/export_guard.h"
#include "base/win32/host_binding.h"
#include "plugin/win32/load_state.h"

namespace {

// Library load: the module's own version, the host's ComposeThread setting, the application
// window, then the host binding. Any failure refuses the load, so the host gets no plug-in.
bool LoadPlugin() {
  return vlm::Guarded("load", false, [] {
    TVersion version;
    vlm::ReadFileVersion(version);
    PluginVersion = version.VersionString1;
    ComposeThreadAtStart = vlm::HostComposeThread();
    AppWindow = vlm::EnsureAppWindow();
    HostApi = new TBeckyAPI();
    if (!vlm::BindHost(*HostApi)) {
      delete HostApi;
      HostApi = nullptr;
      return false;
    }
    return true;
  });
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return LoadPlugin() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      delete HostApi;
      HostApi = nullptr;
      return TRUE;
    default:
      return TRUE;
  }
}
