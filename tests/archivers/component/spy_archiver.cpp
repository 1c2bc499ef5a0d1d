// A spy archiver for the component's tests, built as UNARJ32J.DLL into a folder of its own: its
// main entry writes what it was handed into the file named by VELMORA_SPY_LOG, its listing
// offers one member with an MS-DOS date and time but no GetWriteTimeEx, and it lacks the
// mandatory CheckArchive entry.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "archiver/win32/archiver_records.h"

#define SPY_EXPORT extern "C" __declspec(dllexport)

namespace {

void Log(const char* text) {
  char path[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("VELMORA_SPY_LOG", path, MAX_PATH)) return;
  if (FILE* out = std::fopen(path, "ab")) {
    std::fputs(text, out);
    std::fputs("\n", out);
    std::fclose(out);
  }
}

int listed = 0;

}  // namespace

SPY_EXPORT int WINAPI Unarj(HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
  char line[1200];
  std::snprintf(line, sizeof line, "Unarj output=%s size=%lu command=%.1000s",
                output ? "buffer" : "null", static_cast<unsigned long>(size),
                commandLine ? commandLine : "");
  Log(line);
  if (output && size > 0) std::strncpy(output, "spy output", size - 1);
  return 0;
}

SPY_EXPORT vlm::HARC WINAPI UnarjOpenArchive(HWND, LPCSTR, DWORD) {
  listed = 0;
  return reinterpret_cast<vlm::HARC>(1);
}

SPY_EXPORT int WINAPI UnarjCloseArchive(vlm::HARC) {
  return 0;
}

SPY_EXPORT int WINAPI UnarjFindFirst(vlm::HARC, LPCSTR, void* record) {
  if (listed++ > 1) return -1;
  std::memset(record, 0, vlm::kDllIndivisualInfoSize);
  auto* info = static_cast<vlm::TIndivisualInfo*>(record);
  info->dwOriginalSize = listed == 1 ? 1234 : 0;
  // 2021-03-04 05:06:08 local time for the first member; date and time 0 for the second.
  if (listed == 1) {
    info->wDate = static_cast<WORD>(((2021 - 1980) << 9) | (3 << 5) | 4);
    info->wTime = static_cast<WORD>((5 << 11) | (6 << 5) | (8 / 2));
  }
  std::strcpy(info->szFileName, listed == 1 ? "dated.txt" : "undated.txt");
  return 0;
}

SPY_EXPORT int WINAPI UnarjFindNext(vlm::HARC archive, void* record) {
  return UnarjFindFirst(archive, "*", record);
}
