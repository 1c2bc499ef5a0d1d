#include "archiver/win32/custom_archiver_dll.h"

#include "archiver/archiver_errors.h"
#include "base/ansi_text.h"

namespace vlm::win {
namespace {

// The record's local MS-DOS date and time as UTC; a zero time when both are 0 or invalid.
FILETIME DosTimeToUtc(WORD date, WORD time) {
  FILETIME local{}, utc{};
  if ((date == 0 && time == 0) || !DosDateTimeToFileTime(date, time, &local) ||
      !LocalFileTimeToFileTime(&local, &utc)) {
    return FILETIME{};
  }
  return utc;
}

}  // namespace

bool TCustomArchiverDll::GetEntry(FARPROC& slot, HMODULE module, const std::string& name,
                                  bool mandatory, const std::wstring& moduleName) {
  if (slot) return true;
  if (module) slot = GetProcAddress(module, name.c_str());
  if (slot) return true;
  if (!mandatory) return false;
  std::wstring path = moduleName;
  wchar_t buffer[515] = {};
  if (module && GetModuleFileNameW(module, buffer, 514) > 0) path = buffer;
  throw EEntryNotFound(path + L" に " + FromAnsi(name) + L" のエントリが見つかりません。");
}

void TCustomArchiverDll::FreeDll() {
  for (FARPROC* slot :
       {&FArchiverProc, &FOpenArchive, &FCloseArchive, &FFindFirst, &FFindNext, &FExtractMem,
        &FCheckArchive, &FSetOwnerWindowEx, &FKillOwnerWindowEx, &FGetWriteTimeEx,
        &FGetCreateTimeEx, &FGetAccessTimeEx, &FGetOriginalSizeEx, &FGetCompressedSizeEx,
        &FGetArchiveType, &FSetEnumMembersProc64, &FClearEnumMembersProc64}) {
    *slot = nullptr;
  }
}

int TCustomArchiverDll::MainEntry1(HWND handle, const std::string&, const std::string& cmdLine,
                                   char* output, DWORD size) {
  return As<TMainProc>(FArchiverProc)(handle, cmdLine.c_str(), size ? output : nullptr, size);
}

int TCustomArchiverDll::MainEntry2(HWND handle, const std::string& archiveFileName,
                                   const std::string& cmdLine, char* output, DWORD size) {
  return MainEntry1(handle, archiveFileName, cmdLine, output, size);
}

BOOL TCustomArchiverDll::CheckArchive(const std::string& fileName, int mode) {
  return As<TCheckArchiveProc>(FCheckArchive)(fileName.c_str(), mode);
}

int TCustomArchiverDll::CloseArchive(HARC hArc) {
  return As<THarcProc>(FCloseArchive)(hArc);
}

int TCustomArchiverDll::ExtractMem(HWND handle, const std::string& cmdLine, LPBYTE buffer,
                                   DWORD size, DWORD* time, WORD* attribute, DWORD* writeSize) {
  return As<TExtractMemProc>(FExtractMem)(handle, cmdLine.c_str(), buffer, size, time, attribute,
                                          writeSize);
}

int TCustomArchiverDll::FindFirst(HARC hArc, const std::string& mask, TIndivisualInfo& info) {
  const int result = As<TFindFirstProc>(FFindFirst)(hArc, mask.c_str(), &info);
  if (result == 0) CompleteMember(hArc, info);
  return result;
}

int TCustomArchiverDll::FindNext(HARC hArc, TIndivisualInfo& info) {
  const int result = As<TFindNextProc>(FFindNext)(hArc, &info);
  if (result == 0) CompleteMember(hArc, info);
  return result;
}

BOOL TCustomArchiverDll::KillOwnerWindowEx(HWND handle) {
  return FKillOwnerWindowEx ? As<TKillOwnerProc>(FKillOwnerWindowEx)(handle) : FALSE;
}

HARC TCustomArchiverDll::OpenArchive(HWND handle, const std::string& fileName, DWORD mode) {
  return As<TOpenArchiveProc>(FOpenArchive)(handle, fileName.c_str(), mode);
}

BOOL TCustomArchiverDll::SetOwnerWindowEx(HWND handle, TArchiverProc proc) {
  return FSetOwnerWindowEx ? As<TSetOwnerProc>(FSetOwnerWindowEx)(handle, proc) : FALSE;
}

BOOL TCustomArchiverDll::GetWriteTimeEx(HARC hArc, FILETIME& time) {
  return FGetWriteTimeEx ? As<TTimeProc>(FGetWriteTimeEx)(hArc, &time) : FALSE;
}

BOOL TCustomArchiverDll::GetCreateTimeEx(HARC hArc, FILETIME& time) {
  return FGetCreateTimeEx ? As<TTimeProc>(FGetCreateTimeEx)(hArc, &time) : FALSE;
}

BOOL TCustomArchiverDll::GetAccessTimeEx(HARC hArc, FILETIME& time) {
  return FGetAccessTimeEx ? As<TTimeProc>(FGetAccessTimeEx)(hArc, &time) : FALSE;
}

BOOL TCustomArchiverDll::GetOriginalSizeEx(HARC hArc, LONGLONG& size) {
  return FGetOriginalSizeEx ? As<TSizeProc>(FGetOriginalSizeEx)(hArc, &size) : FALSE;
}

BOOL TCustomArchiverDll::GetCompressedSizeEx(HARC hArc, LONGLONG& size) {
  return FGetCompressedSizeEx ? As<TSizeProc>(FGetCompressedSizeEx)(hArc, &size) : FALSE;
}

int TCustomArchiverDll::GetArchiveType(const std::string& fileName) {
  return As<TArchiveTypeProc>(FGetArchiveType)(fileName.c_str());
}

BOOL TCustomArchiverDll::SetEnumMembersProc64(TEnumMemberProc proc, DWORD structSize) {
  return FSetEnumMembersProc64 ? As<TSetEnumProc>(FSetEnumMembersProc64)(proc, structSize) : FALSE;
}

BOOL TCustomArchiverDll::ClearEnumMembersProc64() {
  return FClearEnumMembersProc64 ? As<TClearEnumProc>(FClearEnumMembersProc64)() : FALSE;
}

void TCustomArchiverDll::CompleteMember(HARC hArc, TIndivisualInfo& info) {
  // The record is packed: the times are taken through aligned locals.
  const FILETIME dosTime = DosTimeToUtc(info.wDate, info.wTime);
  FILETIME time{};
  info.WriteTime = GetWriteTimeEx(hArc, time) ? time : dosTime;
  info.AccessTime = GetAccessTimeEx(hArc, time) ? time : dosTime;
  info.CreateTime = GetCreateTimeEx(hArc, time) ? time : dosTime;
  LONGLONG size = 0;
  info.qwOriginalSize = GetOriginalSizeEx(hArc, size) ? size : info.dwOriginalSize;
  info.qwCompressedSize = GetCompressedSizeEx(hArc, size) ? size : info.dwCompressedSize;
}

}  // namespace vlm::win
