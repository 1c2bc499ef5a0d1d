#pragma once
// The entries ZIP32J.DLL, UNZIP32.DLL and LMZIP32.DLL have in common. Each DLL exports them
// under its own names and passes that name along for the call log.
#include <windows.h>

#include <cstdint>

#include "tests/archivers/common/win32/archiver_records.h"

namespace standin::zip_entries {

int Zip(const char* entry, HWND window, LPCSTR commandLine, LPSTR output, DWORD size);
int UnZip(const char* entry, HWND window, LPCSTR commandLine, LPSTR output, DWORD size);
HARC OpenArchive(const char* entry, HWND window, LPCSTR archive, DWORD mode);
int CloseArchive(const char* entry, HARC archive);
int FindFirst(const char* entry, HARC archive, LPCSTR mask, TIndivisualInfo* info);
int FindNext(const char* entry, HARC archive, TIndivisualInfo* info);
BOOL GetWriteTimeEx(const char* entry, HARC archive, FILETIME* time);
BOOL CheckArchive(const char* entry, LPCSTR archive, int mode);
int ExtractMem(const char* entry, HWND window, LPCSTR commandLine, BYTE* buffer, DWORD size,
               std::uint32_t* time, WORD* attributes, DWORD* written);
BOOL SetOwnerWindowEx(const char* entry, HWND window, TArchiverProc proc);
BOOL KillOwnerWindowEx(const char* entry, HWND window);

}  // namespace standin::zip_entries
