#include "archiver/win32/zip_dll.h"

#include "archiver/archiver_errors.h"
#include "base/ansi_text.h"

namespace vlm::win {
HMODULE& TZipBinding::Handle(TModule module) {
  switch (module) {
    case mUnZip32:
      return hUnZip32;
    case mZip32J:
      return hZip32J;
    case mLmZip32:
      break;
  }
  return hLMZip32;
}

void TZipBinding::LoadDll() {
  if (!hUnZip32) hUnZip32 = LoadLibraryW(L"UNZIP32.DLL");
  if (!hZip32J) hZip32J = LoadLibraryW(L"ZIP32J.DLL");
  if (!hLMZip32) hLMZip32 = LoadLibraryW(L"LMZIP32.DLL");
}

void TZipBinding::FreeDll() {
  TCustomArchiverDll::FreeDll();
  FZip = FUnZip = nullptr;
  for (HMODULE* module : {&hUnZip32, &hZip32J, &hLMZip32}) {
    if (*module) FreeLibrary(*module);
    *module = nullptr;
  }
}

bool TZipBinding::Loaded(vlm::TZipModule dll) const {
  switch (dll) {
    case vlm::TZipModule::UnZip32:
      return hUnZip32 != nullptr;
    case vlm::TZipModule::Zip32J:
      return hZip32J != nullptr;
    case vlm::TZipModule::LmZip32:
      break;
  }
  return hLMZip32 != nullptr;
}

bool TZipBinding::Resolve(FARPROC& slot, const char* name, std::initializer_list<TModule> order,
                          bool mandatory) {
  LoadDll();
  if (slot) return true;
  for (TModule module : order) {
    const HMODULE handle = Handle(module);
    if (!handle) continue;
    std::string entry = name;
    // LMZIP32.DLL spells its entries "Unzip...".
    if (module == mLmZip32 && entry.size() > 2 && entry[2] == 'Z') entry[2] = 'z';
    slot = GetProcAddress(handle, entry.c_str());
    if (slot) return true;
  }
  if (!mandatory) return false;
  throw EEntryNotFound(FromAnsi(name) + L" のエントリが DLL に見つかりませんでした。");
}

int TZipBinding::MainEntry1(HWND handle, const std::string& archiveFileName,
                            const std::string& cmdLine, char* output, DWORD size) {
  Resolve(FUnZip, "UnZip", {mUnZip32, mLmZip32}, true);
  FArchiverProc = FUnZip;
  return TCustomArchiverDll::MainEntry1(handle, archiveFileName, cmdLine, output, size);
}

int TZipBinding::MainEntry2(HWND handle, const std::string& archiveFileName,
                            const std::string& cmdLine, char* output, DWORD size) {
  Resolve(FZip, "Zip", {mZip32J, mLmZip32}, true);
  if (!archiveFileName.empty() &&
      GetFileAttributesA(archiveFileName.c_str()) != INVALID_FILE_ATTRIBUTES) {
    DeleteFileA(archiveFileName.c_str());
  }
  FArchiverProc = FZip;
  return TCustomArchiverDll::MainEntry1(handle, archiveFileName, cmdLine, output, size);
}

BOOL TZipBinding::CheckArchive(const std::string& fileName, int mode) {
  Resolve(FCheckArchive, "UnZipCheckArchive", {mUnZip32, mLmZip32, mZip32J}, true);
  return TCustomArchiverDll::CheckArchive(fileName, mode);
}

int TZipBinding::CloseArchive(HARC hArc) {
  Resolve(FCloseArchive, "UnZipCloseArchive", {mLmZip32, mZip32J, mUnZip32}, true);
  return TCustomArchiverDll::CloseArchive(hArc);
}

int TZipBinding::ExtractMem(HWND handle, const std::string& cmdLine, LPBYTE buffer, DWORD size,
                            DWORD* time, WORD* attribute, DWORD* writeSize) {
  Resolve(FExtractMem, "UnZipExtractMem", {mUnZip32, mLmZip32, mZip32J}, true);
  return TCustomArchiverDll::ExtractMem(handle, cmdLine, buffer, size, time, attribute, writeSize);
}

int TZipBinding::FindFirst(HARC hArc, const std::string& mask, TIndivisualInfo& info) {
  Resolve(FFindFirst, "UnZipFindFirst", {mLmZip32, mZip32J, mUnZip32}, true);
  return TCustomArchiverDll::FindFirst(hArc, mask, info);
}

int TZipBinding::FindNext(HARC hArc, TIndivisualInfo& info) {
  Resolve(FFindNext, "UnZipFindNext", {mLmZip32, mZip32J, mUnZip32}, true);
  return TCustomArchiverDll::FindNext(hArc, info);
}

HARC TZipBinding::OpenArchive(HWND handle, const std::string& fileName, DWORD mode) {
  Resolve(FOpenArchive, "UnZipOpenArchive", {mLmZip32, mZip32J, mUnZip32}, true);
  return TCustomArchiverDll::OpenArchive(handle, fileName, mode);
}

BOOL TZipBinding::GetWriteTimeEx(HARC hArc, FILETIME& time) {
  if (!Resolve(FGetWriteTimeEx, "UnzipGetWriteTimeEx", {mLmZip32, mZip32J, mUnZip32}, false)) {
    return FALSE;
  }
  return TCustomArchiverDll::GetWriteTimeEx(hArc, time);
}

BOOL TZipBinding::GetCreateTimeEx(HARC hArc, FILETIME& time) {
  if (!Resolve(FGetCreateTimeEx, "UnZipGetCreateTimeEx", {mLmZip32, mZip32J, mUnZip32}, false)) {
    return FALSE;
  }
  return TCustomArchiverDll::GetCreateTimeEx(hArc, time);
}

BOOL TZipBinding::GetAccessTimeEx(HARC hArc, FILETIME& time) {
  if (!Resolve(FGetAccessTimeEx, "UnZipGetAccessTimeEx", {mLmZip32, mZip32J, mUnZip32}, false)) {
    return FALSE;
  }
  return TCustomArchiverDll::GetAccessTimeEx(hArc, time);
}

BOOL TZipBinding::SetOwnerWindowEx(HWND handle, TArchiverProc proc) {
  LoadDll();
  GetEntry(FSetOwnerWindowEx, hUnZip32, "UnZipSetOwnerWindowEx", true, L"UNZIP32.DLL");
  return TCustomArchiverDll::SetOwnerWindowEx(handle, proc);
}

BOOL TZipBinding::KillOwnerWindowEx(HWND handle) {
  LoadDll();
  GetEntry(FKillOwnerWindowEx, hUnZip32, "UnZipKillOwnerWindowEx", true, L"UNZIP32.DLL");
  return TCustomArchiverDll::KillOwnerWindowEx(handle);
}

}  // namespace vlm::win
