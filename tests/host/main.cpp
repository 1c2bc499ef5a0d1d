// The stand-in host: bkhost.exe <scenario> <work folder> <transcript>
// Loads <work folder>\PlugIns\Velmora.dll as the mail client does and plays the scenario.
#include <windows.h>

#include <cstdio>

#include "tests/host/host_world.h"
#include "tests/host/message_boxes.h"
#include "tests/host/scenario.h"
#include "tests/host/transcript.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bkhost <scenario> <work folder> <transcript>\n");
    return 2;
  }
  auto& world = host::World();
  world.workFolder = argv[2];
  world.pluginFolder = world.workFolder + L"\\PlugIns\\";
  world.tempFolder = world.workFolder + L"\\Temp\\";
  CreateDirectoryW(world.pluginFolder.c_str(), nullptr);
  CreateDirectoryW(world.tempFolder.c_str(), nullptr);
  CreateDirectoryW((world.workFolder + L"\\Store").c_str(), nullptr);
  SetCurrentDirectoryW(world.workFolder.c_str());
  host::Log().Open(argv[3], world.workFolder);
  const std::wstring archiverLog = world.workFolder + L"\\archivers.log";
  SetEnvironmentVariableW(L"VELMORA_ARCHIVER_LOG", archiverLog.c_str());
  host::Log().FollowArchiverLog(archiverLog);

  // Every scenario starts from a host whose settings key exists and holds no values.
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\RIMArts\\B2\\Settings");
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\RIMArts\\B2\\Settings", 0, nullptr, 0, KEY_WRITE,
                  nullptr, &key, nullptr);
  RegCloseKey(key);

  world.CreateMainWindow();
  host::InstallMessageBoxAnswerer();
  const bool ok = host::RunScenario(argv[1]);
  host::Log().Line(ok ? "end" : "end with errors");
  return ok ? 0 : 1;
}
