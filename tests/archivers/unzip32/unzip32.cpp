// UNZIP32.DLL stand-in: unpacks with "UnZip", lists, checks, extracts into memory, and takes
// the owner window for progress messages.
#include "tests/archivers/common/win32/zip_entries.h"

namespace ze = standin::zip_entries;
using standin::HARC;
using standin::TArchiverProc;
using standin::TIndivisualInfo;

STANDIN_EXPORT int WINAPI UnZip(HWND window, LPCSTR commandLine, LPSTR output, DWORD size) {
  return ze::UnZip("UnZip", window, commandLine, output, size);
}

STANDIN_EXPORT HARC WINAPI UnZipOpenArchive(HWND window, LPCSTR archive, DWORD mode) {
  return ze::OpenArchive("UnZipOpenArchive", window, archive, mode);
}

STANDIN_EXPORT int WINAPI UnZipCloseArchive(HARC archive) {
  return ze::CloseArchive("UnZipCloseArchive", archive);
}

STANDIN_EXPORT int WINAPI UnZipFindFirst(HARC archive, LPCSTR mask, TIndivisualInfo* info) {
  return ze::FindFirst("UnZipFindFirst", archive, mask, info);
}

STANDIN_EXPORT int WINAPI UnZipFindNext(HARC archive, TIndivisualInfo* info) {
  return ze::FindNext("UnZipFindNext", archive, info);
}

STANDIN_EXPORT BOOL WINAPI UnzipGetWriteTimeEx(HARC archive, FILETIME* time) {
  return ze::GetWriteTimeEx("UnzipGetWriteTimeEx", archive, time);
}

STANDIN_EXPORT BOOL WINAPI UnZipCheckArchive(LPCSTR archive, int mode) {
  return ze::CheckArchive("UnZipCheckArchive", archive, mode);
}

STANDIN_EXPORT int WINAPI UnZipExtractMem(HWND window, LPCSTR commandLine, BYTE* buffer, DWORD size,
                                          std::uint32_t* time, WORD* attributes, DWORD* written) {
  return ze::ExtractMem("UnZipExtractMem", window, commandLine, buffer, size, time, attributes,
                        written);
}

STANDIN_EXPORT BOOL WINAPI UnZipSetOwnerWindowEx(HWND window, TArchiverProc proc) {
  return ze::SetOwnerWindowEx("UnZipSetOwnerWindowEx", window, proc);
}

STANDIN_EXPORT BOOL WINAPI UnZipKillOwnerWindowEx(HWND window) {
  return ze::KillOwnerWindowEx("UnZipKillOwnerWindowEx", window);
}
