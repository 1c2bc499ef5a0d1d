#include "archiver/win32/archiver_dll.h"

#include "archiver/archiver_errors.h"

namespace vlm::win {

TArchiverDll::TArchiverDll(std::wstring archiveName, std::wstring dllName, std::string entryPrefix)
    : FArchiveName(std::move(archiveName)),
      FDllName(std::move(dllName)),
      FEntryPrefix(std::move(entryPrefix)) {}

void TArchiverDll::LoadDll() {
  if (!FhDLL) FhDLL = LoadLibraryW(FDllName.c_str());
  if (!FhDLL) throw ENoArchiverDLL(FArchiveName + L" を扱うには " + FDllName + L" が 必要です。");
}

void TArchiverDll::FreeDll() {
  TCustomArchiverDll::FreeDll();
  if (FhDLL) FreeLibrary(FhDLL);
  FhDLL = nullptr;
}

bool TArchiverDll::Resolve(FARPROC& slot, const char* suffix, bool mandatory) {
  // Every entry loads first: looking an entry up in no module would search the program itself.
  LoadDll();
  return GetEntry(slot, FhDLL, FEntryPrefix + suffix, mandatory, FDllName);
}

int TArchiverDll::MainEntry1(HWND handle, const std::string& archiveFileName,
                             const std::string& cmdLine, char* output, DWORD size) {
  Resolve(FArchiverProc, "", true);
  return TCustomArchiverDll::MainEntry1(handle, archiveFileName, cmdLine, output, size);
}

BOOL TArchiverDll::CheckArchive(const std::string& fileName, int mode) {
  Resolve(FCheckArchive, "CheckArchive", true);
  return TCustomArchiverDll::CheckArchive(fileName, mode);
}

int TArchiverDll::CloseArchive(HARC hArc) {
  Resolve(FCloseArchive, "CloseArchive", true);
  return TCustomArchiverDll::CloseArchive(hArc);
}

int TArchiverDll::ExtractMem(HWND handle, const std::string& cmdLine, LPBYTE buffer, DWORD size,
                             DWORD* time, WORD* attribute, DWORD* writeSize) {
  Resolve(FExtractMem, "ExtractMem", true);
  return TCustomArchiverDll::ExtractMem(handle, cmdLine, buffer, size, time, attribute, writeSize);
}

int TArchiverDll::FindFirst(HARC hArc, const std::string& mask, TIndivisualInfo& info) {
  Resolve(FFindFirst, "FindFirst", true);
  return TCustomArchiverDll::FindFirst(hArc, mask, info);
}

int TArchiverDll::FindNext(HARC hArc, TIndivisualInfo& info) {
  Resolve(FFindNext, "FindNext", true);
  return TCustomArchiverDll::FindNext(hArc, info);
}

BOOL TArchiverDll::KillOwnerWindowEx(HWND handle) {
  if (!Resolve(FKillOwnerWindowEx, "KillOwnerWindowEx", false)) return FALSE;
  return TCustomArchiverDll::KillOwnerWindowEx(handle);
}

HARC TArchiverDll::OpenArchive(HWND handle, const std::string& fileName, DWORD mode) {
  Resolve(FOpenArchive, "OpenArchive", true);
  return TCustomArchiverDll::OpenArchive(handle, fileName, mode);
}

BOOL TArchiverDll::SetOwnerWindowEx(HWND handle, TArchiverProc proc) {
  if (!Resolve(FSetOwnerWindowEx, "SetOwnerWindowEx", false)) return FALSE;
  return TCustomArchiverDll::SetOwnerWindowEx(handle, proc);
}

BOOL TArchiverDll::GetWriteTimeEx(HARC hArc, FILETIME& time) {
  if (!Resolve(FGetWriteTimeEx, "GetWriteTimeEx", false)) return FALSE;
  return TCustomArchiverDll::GetWriteTimeEx(hArc, time);
}

BOOL TArchiverDll::GetCreateTimeEx(HARC hArc, FILETIME& time) {
  if (!Resolve(FGetCreateTimeEx, "GetCreateTimeEx", false)) return FALSE;
  return TCustomArchiverDll::GetCreateTimeEx(hArc, time);
}

BOOL TArchiverDll::GetAccessTimeEx(HARC hArc, FILETIME& time) {
  if (!Resolve(FGetAccessTimeEx, "GetAccessTimeEx", false)) return FALSE;
  return TCustomArchiverDll::GetAccessTimeEx(hArc, time);
}

BOOL TArchiverDll::GetOriginalSizeEx(HARC hArc, LONGLONG& size) {
  if (!Resolve(FGetOriginalSizeEx, "GetOriginalSizeEx", false)) return FALSE;
  return TCustomArchiverDll::GetOriginalSizeEx(hArc, size);
}

BOOL TArchiverDll::GetCompressedSizeEx(HARC hArc, LONGLONG& size) {
  if (!Resolve(FGetCompressedSizeEx, "GetCompressedSizeEx", false)) return FALSE;
  return TCustomArchiverDll::GetCompressedSizeEx(hArc, size);
}

int TArchiverDll::GetArchiveType(const std::string& fileName) {
  Resolve(FGetArchiveType, "GetArchiveType", true);
  return TCustomArchiverDll::GetArchiveType(fileName);
}

BOOL TArchiverDll::SetEnumMembersProc64(TEnumMemberProc proc, DWORD structSize) {
  if (!Resolve(FSetEnumMembersProc64, "SetEnumMembersProc64", false)) return FALSE;
  return TCustomArchiverDll::SetEnumMembersProc64(proc, structSize);
}

BOOL TArchiverDll::ClearEnumMembersProc64() {
  if (!Resolve(FClearEnumMembersProc64, "ClearEnumMembersProc64", false)) return FALSE;
  return TCustomArchiverDll::ClearEnumMembersProc64();
}

}  // namespace vlm::win
