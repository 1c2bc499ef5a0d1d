// The host callbacks. Each runs its body through Guarded so that no exception reaches the host.
#include <windows.h>

#include "plugin/plugin_info.h"
#include "base/win32/crash/crash_report.h"
#include "base/win32/crash/fault_note.h"
#include "base/win32/export_guard.h"
#include "plugin/win32/exports.h"
#include "plugin/win32/lifecycle.h"
#include "plugin/win32/load_state.h"

int WINAPI BKC_OnStart() {
  return vlm::Guarded("BKC_OnStart", 0, [] {
    vlm::StartPlugin();
    return 0;
  });
}

int WINAPI BKC_OnExit() {
  const int result = vlm::Guarded("BKC_OnExit", 0, [] {
    vlm::ExitPlugin();
    return 0;
  });
  // A failure of the exit itself is still recorded; after it nothing is.
  vlm::StopWatchingUnhandledFaults();
  vlm::StopCrashReports();
  return result;
}

int WINAPI BKC_OnMenuInit(vlm::HostWnd, void* menu, int type) {
  return vlm::Guarded("BKC_OnMenuInit", 0, [&] {
    vlm::AddMenuItems(static_cast<HMENU>(menu), type);
    return 0;
  });
}

int WINAPI BKC_OnOpenFolder(const char*) {
  return 0;
}
int WINAPI BKC_OnOpenMail(const char*) {
  return 0;
}
int WINAPI BKC_OnEveryMinute() {
  return 0;
}

int WINAPI BKC_OnOpenCompose(vlm::HostWnd window, int) {
  return vlm::Guarded("BKC_OnOpenCompose", 0, [&] {
    vlm::RecordComposeWindow(static_cast<HWND>(window));
    return 0;
  });
}

int WINAPI BKC_OnOutgoing(vlm::HostWnd, int) {
  return 0;
}
int WINAPI BKC_OnKeyDispatch(vlm::HostWnd, int, int) {
  return 0;
}

int WINAPI BKC_OnRetrieve(const char*, const char* mail) {
  return vlm::Guarded("BKC_OnRetrieve", 0, [&] {
    vlm::OnRetrieve(mail);
    return 0;
  });
}

// The checks only advise: when they fail unexpectedly the message is sent.
int WINAPI BKC_OnSend(const char* message) {
  return vlm::Guarded("BKC_OnSend", 0, [&] { return vlm::CheckBeforeSend(message); });
}

int WINAPI BKC_OnFinishRetrieve(int) {
  return 0;
}

int WINAPI BKC_OnPlugInSetup(vlm::HostWnd) {
  return vlm::Guarded("BKC_OnPlugInSetup", 1, [] {
    vlm::ShowSettings();
    return 1;
  });
}

int WINAPI BKC_OnPlugInInfo(char* block) {
  return vlm::Guarded("BKC_OnPlugInInfo", 0, [&] {
    vlm::FillPluginInfo(block, PluginVersion);
    return 0;
  });
}

int WINAPI BKC_OnDragDrop(const char*, const char*, int, int) {
  return 0;
}
