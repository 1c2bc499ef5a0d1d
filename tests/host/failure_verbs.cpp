// Scenario verbs that make the plug-in's surroundings fail, for the paths nothing else reaches.
//   fail ansi-conversion    the plug-in's WideCharToMultiByte fails until "fail off"
//   fail temp-folder        GetTempFolder hands out a folder that cannot be written (its name is
//                           taken by a file)
//   fail compose-mail       the host cannot open the next compose window (ComposeMail gives 0)
//   fail remove <path>      the file below the work folder is held open by another program, so
//                           it cannot be removed until the scenario ends
//   fail off                the plug-in's conversions work again
#include <windows.h>

#include <string>
#include <vector>

#include "tests/host/host_world.h"
#include "tests/host/import_patch.h"
#include "tests/host/scenario.h"
#include "tests/host/transcript.h"

namespace host {
namespace {

using WideCharToMultiByteFn = int(WINAPI*)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);
WideCharToMultiByteFn gRealWideCharToMultiByte = nullptr;
HMODULE gConversionPatchedIn = nullptr;
bool gConversionFails = false;

int WINAPI FailingWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length,
                                      LPSTR out, int size, LPCCH defaultChar, LPBOOL usedDefault) {
  if (gConversionFails) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  return gRealWideCharToMultiByte(codePage, flags, text, length, out, size, defaultChar,
                                  usedDefault);
}

bool FailConversions() {
  if (!World().plugin) {
    Log().Line("error: plug-in not loaded");
    return false;
  }
  if (gConversionPatchedIn != World().plugin) {
    void* real = PatchImport(World().plugin, "kernel32.dll", "WideCharToMultiByte",
                             reinterpret_cast<void*>(&FailingWideCharToMultiByte));
    if (!real) {
      Log().Line("error: the plug-in does not import WideCharToMultiByte");
      return false;
    }
    gRealWideCharToMultiByte = reinterpret_cast<WideCharToMultiByteFn>(real);
    gConversionPatchedIn = World().plugin;
  }
  gConversionFails = true;
  return true;
}

// A file where the folder would be: nothing can be created inside it.
bool FailTempFolder() {
  const std::wstring blocked = World().workFolder + L"\\NoTemp";
  HANDLE file = CreateFileW(blocked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  World().tempFolder = blocked + L"\\";
  return true;
}

// Handles kept open for the rest of the run, as another program would keep them.
std::vector<HANDLE>& HeldFiles() {
  static std::vector<HANDLE> held;
  return held;
}

bool HoldFile(const std::string& relative) {
  HANDLE file = CreateFileW(WorkPath(relative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Log().Line("error: cannot hold " + relative);
    return false;
  }
  HeldFiles().push_back(file);
  return true;
}

const VerbRegistration fail("fail", [](const std::string& args, Script&) {
  Log().Line("host fails: " + args);
  if (args == "ansi-conversion") return FailConversions();
  if (args == "temp-folder") return FailTempFolder();
  if (args == "compose-mail") {
    World().composeMailFails = true;
    return true;
  }
  if (args.rfind("remove ", 0) == 0) return HoldFile(args.substr(7));
  if (args == "off") {
    gConversionFails = false;
    return true;
  }
  Log().Line("error: no failure " + args);
  return false;
});

}  // namespace
}  // namespace host
