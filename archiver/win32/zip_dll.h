#pragma once
// The ZIP family binding: UNZIP32.DLL, ZIP32J.DLL and LMZIP32.DLL in any combination. Each entry
// is looked up in the loaded DLLs in an order of its own and the first one that has it wins.
#include "archiver/archiver_platform.h"
#include "archiver/win32/custom_archiver_dll.h"

namespace vlm::win {

class TZipBinding : public TCustomArchiverDll {
 public:
  // Loads whichever of the three DLLs are present; never fails.
  void LoadDll() override;
  void FreeDll() override;
  bool Loaded(vlm::TZipModule dll) const;

  // "UnZip" from UNZIP32, then LMZIP32.
  int MainEntry1(HWND handle, const std::string& archiveFileName, const std::string& cmdLine,
                 char* output, DWORD size) override;
  // Deletes the archive file first when one is named (a failure is ignored), then "Zip" from
  // ZIP32J, then LMZIP32. Packing and the self-extracting conversion name it and so start from no
  // archive; removing and updating members name none and keep it.
  int MainEntry2(HWND handle, const std::string& archiveFileName, const std::string& cmdLine,
                 char* output, DWORD size) override;
  BOOL CheckArchive(const std::string& fileName, int mode) override;
  int CloseArchive(HARC hArc) override;
  int ExtractMem(HWND handle, const std::string& cmdLine, LPBYTE buffer, DWORD size, DWORD* time,
                 WORD* attribute, DWORD* writeSize) override;
  int FindFirst(HARC hArc, const std::string& mask, TIndivisualInfo& info) override;
  int FindNext(HARC hArc, TIndivisualInfo& info) override;
  HARC OpenArchive(HWND handle, const std::string& fileName, DWORD mode) override;
  BOOL GetWriteTimeEx(HARC hArc, FILETIME& time) override;
  BOOL GetCreateTimeEx(HARC hArc, FILETIME& time) override;
  BOOL GetAccessTimeEx(HARC hArc, FILETIME& time) override;
  // Owner windows go through UNZIP32 only.
  BOOL SetOwnerWindowEx(HWND handle, TArchiverProc proc) override;
  BOOL KillOwnerWindowEx(HWND handle) override;
  // Not offered by the family.
  BOOL GetOriginalSizeEx(HARC, LONGLONG&) override { return FALSE; }
  BOOL GetCompressedSizeEx(HARC, LONGLONG&) override { return FALSE; }
  BOOL SetEnumMembersProc64(TEnumMemberProc, DWORD) override { return FALSE; }
  BOOL ClearEnumMembersProc64() override { return FALSE; }

 private:
  enum TModule { mUnZip32, mZip32J, mLmZip32 };
  // Resolves `name` into `slot` from the modules in `order`. A mandatory entry found nowhere
  // raises EEntryNotFound.
  bool Resolve(FARPROC& slot, const char* name, std::initializer_list<TModule> order,
               bool mandatory);
  HMODULE& Handle(TModule module);

  HMODULE hUnZip32 = nullptr;
  HMODULE hLMZip32 = nullptr;
  HMODULE hZip32J = nullptr;
  FARPROC FZip = nullptr;
  FARPROC FUnZip = nullptr;
};

}  // namespace vlm::win
