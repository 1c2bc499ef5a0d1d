#pragma once
// The binding of one archiver DLL file whose entries share a name prefix ("Unlha",
// "UnlhaOpenArchive", ...).
#include "archiver/win32/custom_archiver_dll.h"

namespace vlm::win {

class TArchiverDll : public TCustomArchiverDll {
 public:
  // `archiveName` names the format in messages ("LHA 形式書庫"), `dllName` is the file the
  // loader searches for, `entryPrefix` the main entry's name.
  TArchiverDll(std::wstring archiveName, std::wstring dllName, std::string entryPrefix);

  void LoadDll() override;
  void FreeDll() override;
  bool Loaded() const { return FhDLL != nullptr; }
  const std::wstring& DllName() const { return FDllName; }

  int MainEntry1(HWND handle, const std::string& archiveFileName, const std::string& cmdLine,
                 char* output, DWORD size) override;
  BOOL CheckArchive(const std::string& fileName, int mode) override;
  int CloseArchive(HARC hArc) override;
  int ExtractMem(HWND handle, const std::string& cmdLine, LPBYTE buffer, DWORD size, DWORD* time,
                 WORD* attribute, DWORD* writeSize) override;
  int FindFirst(HARC hArc, const std::string& mask, TIndivisualInfo& info) override;
  int FindNext(HARC hArc, TIndivisualInfo& info) override;
  BOOL KillOwnerWindowEx(HWND handle) override;
  HARC OpenArchive(HWND handle, const std::string& fileName, DWORD mode) override;
  BOOL SetOwnerWindowEx(HWND handle, TArchiverProc proc) override;
  BOOL GetWriteTimeEx(HARC hArc, FILETIME& time) override;
  BOOL GetCreateTimeEx(HARC hArc, FILETIME& time) override;
  BOOL GetAccessTimeEx(HARC hArc, FILETIME& time) override;
  BOOL GetOriginalSizeEx(HARC hArc, LONGLONG& size) override;
  BOOL GetCompressedSizeEx(HARC hArc, LONGLONG& size) override;
  int GetArchiveType(const std::string& fileName) override;
  BOOL SetEnumMembersProc64(TEnumMemberProc proc, DWORD structSize) override;
  BOOL ClearEnumMembersProc64() override;

 protected:
  // Resolves prefix + `suffix` into `slot`, loading the DLL first. False for a missing optional
  // entry; a missing mandatory one raises EEntryNotFound.
  bool Resolve(FARPROC& slot, const char* suffix, bool mandatory);

 private:
  HMODULE FhDLL = nullptr;
  std::wstring FArchiveName;
  std::wstring FDllName;
  std::string FEntryPrefix;
};

}  // namespace vlm::win
