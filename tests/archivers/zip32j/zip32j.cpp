// ZIP32J.DLL stand-in: packs with "Zip" and answers the listing entries under the "UnZip"
// names, which callers try after LMZIP32.DLL's and before UNZIP32.DLL's.
#include "tests/archivers/common/win32/zip_entries.h"

namespace ze = standin::zip_entries;
using standin::HARC;
using standin::TArchiverProc;
using standin::TIndivisualInfo;

STANDIN_EXPORT int WINAPI Zip(HWND window, LPCSTR commandLine, LPSTR output, DWORD size) {
  return ze::Zip("Zip", window, commandLine, output, size);
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

// The packing side's own owner-window entries: progress while "Zip" runs reaches a window
// registered here.
STANDIN_EXPORT BOOL WINAPI ZipSetOwnerWindowEx(HWND window, TArchiverProc proc) {
  return ze::SetOwnerWindowEx("ZipSetOwnerWindowEx", window, proc);
}

STANDIN_EXPORT BOOL WINAPI ZipKillOwnerWindowEx(HWND window) {
  return ze::KillOwnerWindowEx("ZipKillOwnerWindowEx", window);
}
