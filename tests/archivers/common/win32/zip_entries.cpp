#include "tests/archivers/common/win32/zip_entries.h"

#include <string>

#include "tests/archivers/common/result_codes.h"
#include "tests/archivers/common/unzip_command.h"
#include "tests/archivers/common/win32/archiver_dll.h"
#include "tests/archivers/common/zip_command.h"

namespace standin::zip_entries {

namespace {

std::string HandleText(const void* handle) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

int Zip(const char* entry, HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
  return RunMainEntry(entry, commandLine, output, size, RunZip);
}

int UnZip(const char* entry, HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
  return RunMainEntry(entry, commandLine, output, size, RunUnzip);
}

HARC OpenArchive(const char* entry, HWND, LPCSTR archive, DWORD mode) {
  return OpenListing(entry, archive, mode, ListZip);
}

int CloseArchive(const char* entry, HARC archive) {
  LogCall(entry, HandleText(archive));
  return CloseListing(archive);
}

int FindFirst(const char* entry, HARC archive, LPCSTR mask, TIndivisualInfo* info) {
  LogCall(entry, mask ? mask : "");
  return FindFirstMember(archive, mask, info);
}

int FindNext(const char* entry, HARC archive, TIndivisualInfo* info) {
  LogCall(entry, HandleText(archive));
  return FindNextMember(archive, info);
}

BOOL GetWriteTimeEx(const char* entry, HARC archive, FILETIME* time) {
  LogCall(entry, HandleText(archive));
  return CurrentWriteTime(archive, time);
}

BOOL CheckArchive(const char* entry, LPCSTR archive, int mode) {
  std::string name = archive ? archive : "";
  LogCall(entry, name + "\t" + std::to_string(mode));
  return CheckZip(name, mode) ? TRUE : FALSE;
}

int ExtractMem(const char* entry, HWND, LPCSTR commandLine, BYTE* buffer, DWORD size,
               std::uint32_t* time, WORD* attributes, DWORD* written) {
  return ExtractMemEntry(entry, commandLine, buffer, size, time, attributes, written,
                         ExtractZipToMemory);
}

BOOL SetOwnerWindowEx(const char* entry, HWND window, TArchiverProc proc) {
  LogCall(entry, HandleText(window));
  return RegisterOwner(window, proc);
}

BOOL KillOwnerWindowEx(const char* entry, HWND window) {
  LogCall(entry, HandleText(window));
  return ForgetOwner(window);
}

}  // namespace standin::zip_entries
