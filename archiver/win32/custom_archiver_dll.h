#pragma once
// The binding of one archiver DLL of the common archiver interface: one slot per entry, each
// resolved by name on first use and kept until FreeDll. Every call goes through the stdcall
// entry with ANSI text. Derived bindings say where each entry is looked up.
#include <windows.h>

#include <string>

#include "archiver/win32/archiver_records.h"

namespace vlm::win {

class TCustomArchiverDll {
 public:
  TCustomArchiverDll() = default;
  // Bindings live for the whole process; a destructor never unloads a DLL, since it may run
  // from a global destructor, where FreeLibrary can deadlock under the loader lock.
  virtual ~TCustomArchiverDll() = default;
  TCustomArchiverDll(const TCustomArchiverDll&) = delete;
  TCustomArchiverDll& operator=(const TCustomArchiverDll&) = delete;

  // Throws ENoArchiverDLL (or EArchiver) when the DLL cannot be loaded.
  virtual void LoadDll() = 0;
  // Unloads the DLL(s) and forgets every resolved entry.
  virtual void FreeDll();

  // The main entry for a command that reads the archive / writes it. `output` may be null when
  // `size` is 0. `archiveFileName` is not handed to the DLL.
  virtual int MainEntry1(HWND handle, const std::string& archiveFileName,
                         const std::string& cmdLine, char* output, DWORD size);
  virtual int MainEntry2(HWND handle, const std::string& archiveFileName,
                         const std::string& cmdLine, char* output, DWORD size);
  virtual BOOL CheckArchive(const std::string& fileName, int mode);
  virtual int CloseArchive(HARC hArc);
  virtual int ExtractMem(HWND handle, const std::string& cmdLine, LPBYTE buffer, DWORD size,
                         DWORD* time, WORD* attribute, DWORD* writeSize);
  // 0 = a member was found and `info` completed (times and 64-bit sizes); other results are
  // the DLL's, passed back unchanged.
  virtual int FindFirst(HARC hArc, const std::string& mask, TIndivisualInfo& info);
  virtual int FindNext(HARC hArc, TIndivisualInfo& info);
  virtual BOOL KillOwnerWindowEx(HWND handle);
  virtual HARC OpenArchive(HWND handle, const std::string& fileName, DWORD mode);
  virtual BOOL SetOwnerWindowEx(HWND handle, TArchiverProc proc);
  // Optional entries: FALSE when the DLL lacks them.
  virtual BOOL GetWriteTimeEx(HARC hArc, FILETIME& time);
  virtual BOOL GetCreateTimeEx(HARC hArc, FILETIME& time);
  virtual BOOL GetAccessTimeEx(HARC hArc, FILETIME& time);
  virtual BOOL GetOriginalSizeEx(HARC hArc, LONGLONG& size);
  virtual BOOL GetCompressedSizeEx(HARC hArc, LONGLONG& size);
  virtual int GetArchiveType(const std::string& fileName);
  virtual BOOL SetEnumMembersProc64(TEnumMemberProc proc, DWORD structSize);
  virtual BOOL ClearEnumMembersProc64();

 protected:
  using TMainProc = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
  using TOpenArchiveProc = HARC(WINAPI*)(HWND, LPCSTR, DWORD);
  using THarcProc = int(WINAPI*)(HARC);
  using TFindFirstProc = int(WINAPI*)(HARC, LPCSTR, TIndivisualInfo*);
  using TFindNextProc = int(WINAPI*)(HARC, TIndivisualInfo*);
  using TExtractMemProc = int(WINAPI*)(HWND, LPCSTR, LPBYTE, DWORD, DWORD*, WORD*, DWORD*);
  using TCheckArchiveProc = BOOL(WINAPI*)(LPCSTR, int);
  using TSetOwnerProc = BOOL(WINAPI*)(HWND, TArchiverProc);
  using TKillOwnerProc = BOOL(WINAPI*)(HWND);
  using TTimeProc = BOOL(WINAPI*)(HARC, FILETIME*);
  using TSizeProc = BOOL(WINAPI*)(HARC, LONGLONG*);
  using TArchiveTypeProc = int(WINAPI*)(LPCSTR);
  using TSetEnumProc = BOOL(WINAPI*)(TEnumMemberProc, DWORD);
  using TClearEnumProc = BOOL(WINAPI*)();

  // An entry slot's address as the type it is called with.
  template <typename Proc>
  static Proc As(FARPROC entry) {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(entry));
  }

  // Resolves `slot` from `module` by `name` unless it already holds an entry. A missing
  // mandatory entry raises EEntryNotFound naming the module's file; an optional one answers
  // false. `moduleName` stands for the module when it is not loaded.
  static bool GetEntry(FARPROC& slot, HMODULE module, const std::string& name, bool mandatory,
                       const std::wstring& moduleName);

  FARPROC FArchiverProc = nullptr;
  FARPROC FOpenArchive = nullptr;
  FARPROC FCloseArchive = nullptr;
  FARPROC FFindFirst = nullptr;
  FARPROC FFindNext = nullptr;
  FARPROC FExtractMem = nullptr;
  FARPROC FCheckArchive = nullptr;
  FARPROC FSetOwnerWindowEx = nullptr;
  FARPROC FKillOwnerWindowEx = nullptr;
  FARPROC FGetWriteTimeEx = nullptr;
  FARPROC FGetCreateTimeEx = nullptr;
  FARPROC FGetAccessTimeEx = nullptr;
  FARPROC FGetOriginalSizeEx = nullptr;
  FARPROC FGetCompressedSizeEx = nullptr;
  FARPROC FGetArchiveType = nullptr;
  FARPROC FSetEnumMembersProc64 = nullptr;
  FARPROC FClearEnumMembersProc64 = nullptr;

 private:
  // Times from the Ex entries or from the record's MS-DOS date and time, 64-bit sizes from the
  // Ex entries or the record.
  void CompleteMember(HARC hArc, TIndivisualInfo& info);
};

}  // namespace vlm::win
