// LMZIP32.DLL stand-in: packing ("Zip") and unpacking in one DLL, whose unpacking entries are
// spelt with a lower-case "z" ("Unzip", "UnzipOpenArchive", ...).
#include "tests/archivers/common/win32/zip_entries.h"

namespace ze = standin::zip_entries;
using standin::HARC;
using standin::TArchiverProc;
using standin::TIndivisualInfo;

STANDIN_EXPORT int WINAPI Zip(HWND window, LPCSTR commandLine, LPSTR output, DWORD size) {
  return ze::Zip("Zip", window, commandLine, output, size);
}

STANDIN_EXPORT int WINAPI Unzip(HWND window, LPCSTR commandLine, LPSTR output, DWORD size) {
  return ze::UnZip("Unzip", window, commandLine, output, size);
}

STANDIN_EXPORT HARC WINAPI UnzipOpenArchive(HWND window, LPCSTR archive, DWORD mode) {
  return ze::OpenArchive("UnzipOpenArchive", window, archive, mode);
}

STANDIN_EXPORT int WINAPI UnzipCloseArchive(HARC archive) {
  return ze::CloseArchive("UnzipCloseArchive", archive);
}

STANDIN_EXPORT int WINAPI UnzipFindFirst(HARC archive, LPCSTR mask, TIndivisualInfo* info) {
  return ze::FindFirst("UnzipFindFirst", archive, mask, info);
}

STANDIN_EXPORT int WINAPI UnzipFindNext(HARC archive, TIndivisualInfo* info) {
  return ze::FindNext("UnzipFindNext", archive, info);
}

STANDIN_EXPORT BOOL WINAPI UnzipGetWriteTimeEx(HARC archive, FILETIME* time) {
  return ze::GetWriteTimeEx("UnzipGetWriteTimeEx", archive, time);
}

STANDIN_EXPORT BOOL WINAPI UnzipCheckArchive(LPCSTR archive, int mode) {
  return ze::CheckArchive("UnzipCheckArchive", archive, mode);
}

STANDIN_EXPORT int WINAPI UnzipExtractMem(HWND window, LPCSTR commandLine, BYTE* buffer, DWORD size,
                                          std::uint32_t* time, WORD* attributes, DWORD* written) {
  return ze::ExtractMem("UnzipExtractMem", window, commandLine, buffer, size, time, attributes,
                        written);
}

STANDIN_EXPORT BOOL WINAPI UnzipSetOwnerWindowEx(HWND window, TArchiverProc proc) {
  return ze::SetOwnerWindowEx("UnzipSetOwnerWindowEx", window, proc);
}

STANDIN_EXPORT BOOL WINAPI UnzipKillOwnerWindowEx(HWND window) {
  return ze::KillOwnerWindowEx("UnzipKillOwnerWindowEx", window);
}
