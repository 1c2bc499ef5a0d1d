#include "archiver/win32/archiver.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_factory.h"
#include "archiver/archiver_messages.h"
#include "archiver/win32/format_bindings.h"
#include "base/ansi_text.h"

namespace vlm {

namespace msg = archiver_messages;

namespace {

// Runs a DLL call from another current folder and puts the old one back afterwards.
class TCurrentFolderScope {
 public:
  explicit TCurrentFolderScope(const std::wstring& folder) {
    if (folder.empty()) return;
    FSaved.resize(GetCurrentDirectoryW(0, nullptr));
    FSaved.resize(GetCurrentDirectoryW(static_cast<DWORD>(FSaved.size()), FSaved.data()));
    if (!SetCurrentDirectoryW(folder.c_str())) {
      throw EArchiver(L"フォルダ \"" + folder + L"\" に移動できません。");
    }
  }
  ~TCurrentFolderScope() {
    if (!FSaved.empty()) SetCurrentDirectoryW(FSaved.c_str());
  }
  TCurrentFolderScope(const TCurrentFolderScope&) = delete;
  TCurrentFolderScope& operator=(const TCurrentFolderScope&) = delete;

 private:
  std::wstring FSaved;
};

}  // namespace

TArchiver::TArchiver(TArchiverType type) : FType(type), FPlatform(FOwnerWindow) {
  LoadDLL();
  FCommands = CreateArchiverCommands(type, FPlatform);
  if (!FCommands) throw EArchiver(L"書庫の形式を判別できません。");
}

void TArchiver::LoadDLL() {
  FDll = &win::LoadFormatDll(FType);
}

void TArchiver::FreeDLL() {
  if (FDll) FDll->FreeDll();
}

HARC TArchiver::OpenArchive(HWND handle, const std::wstring& archiveFileName, DWORD mode) {
  return FDll->OpenArchive(handle, ToAnsi(FPlatform.ExpandFileName(archiveFileName)), mode);
}

int TArchiver::FindFirst(HARC hArc, const std::wstring& fileMask, TIndivisualInfo& info) {
  return FDll->FindFirst(hArc, ToAnsi(fileMask), info);
}

int TArchiver::FindNext(HARC hArc, TIndivisualInfo& info) {
  return FDll->FindNext(hArc, info);
}

int TArchiver::CloseArchive(HARC hArc) {
  return FDll->CloseArchive(hArc);
}

void TArchiver::RequireZipDlls(bool writing) const {
  if (FType != atZip) return;
  if (writing && !FPlatform.ZipDllLoaded(TZipModule::Zip32J) &&
      !FPlatform.ZipDllLoaded(TZipModule::LmZip32)) {
    throw ENoArchiverDLL(msg::kZipPackNeedsDll);
  }
  if (!writing && !FPlatform.ZipDllLoaded(TZipModule::UnZip32) &&
      !FPlatform.ZipDllLoaded(TZipModule::LmZip32)) {
    throw ENoArchiverDLL(msg::kZipUnpackNeedsDll);
  }
}

int TArchiver::MainEntry1(HWND handle, const std::wstring& archiveFileName,
                          const std::string& cmdLine, std::string& output) {
  return FDll->MainEntry1(handle, ToAnsi(archiveFileName), cmdLine, output.data(),
                          static_cast<DWORD>(output.size()));
}

int TArchiver::MainEntry2(HWND handle, const std::wstring& archiveFileName, TWrite write,
                          const std::string& cmdLine, std::string& output) {
  // The binding deletes an archive it is named before the DLL writes: only a fresh archive names
  // it, so removing or updating members never starts from an empty one.
  const std::string replaced = write == TWrite::Fresh ? ToAnsi(archiveFileName) : std::string();
  return FDll->MainEntry2(handle, replaced, cmdLine, output.data(),
                          static_cast<DWORD>(output.size()));
}

int TArchiver::UnpackFiles(HWND handle, const std::wstring& archiveFileName,
                           const TArchiverOptions& options, bool useResFile,
                           const TFileItems& files, const std::wstring& dstPath,
                           std::string& cmdLine, std::string& output) {
  RequireZipDlls(false);
  cmdLine = CommandLineAnsi(
      FCommands->BuildUnpackCmd(archiveFileName, options, useResFile, files, dstPath));
  return MainEntry1(handle, archiveFileName, cmdLine, output);
}

int TArchiver::PackFiles(HWND handle, const std::wstring& archiveFileName,
                         const TArchiverOptions& options, bool useResFile, const TFileItems& files,
                         const std::wstring& baseDir, std::string& cmdLine, std::string& output) {
  RequireZipDlls(true);
  // LMZIP32.DLL takes no base folder, yet the names are relative to it: the DLL runs from the
  // base folder then, with the archive named absolutely.
  const bool fromBase = FType == atZip && !baseDir.empty() &&
                        !FPlatform.ZipDllLoaded(TZipModule::Zip32J) &&
                        FPlatform.ZipDllLoaded(TZipModule::LmZip32);
  const std::wstring archive =
      fromBase ? FPlatform.ExpandFileName(archiveFileName) : archiveFileName;
  cmdLine = CommandLineAnsi(FCommands->BuildPackCmd(archive, options, useResFile, files, baseDir));
  TCurrentFolderScope folder(fromBase ? baseDir : L"");
  return MainEntry2(handle, archive, TWrite::Fresh, cmdLine, output);
}

int TArchiver::RemoveItems(HWND handle, const std::wstring& archiveFileName,
                           const TArchiverOptions& options, bool useResFile,
                           const TFileItems& files, const std::wstring& baseDir,
                           std::string& cmdLine, std::string& output) {
  cmdLine = CommandLineAnsi(
      FCommands->BuildRemoveItemsCmd(archiveFileName, options, useResFile, files, baseDir));
  return MainEntry2(handle, archiveFileName, TWrite::InPlace, cmdLine, output);
}

int TArchiver::UpdateArchive(HWND handle, const std::wstring& archiveFileName,
                             const TArchiverOptions& options, bool useResFile,
                             const TFileItems& files, const std::wstring& baseDir,
                             std::string& cmdLine, std::string& output) {
  cmdLine = CommandLineAnsi(
      FCommands->BuildUpdateArchiveCmd(archiveFileName, options, useResFile, files, baseDir));
  return MainEntry2(handle, archiveFileName, TWrite::InPlace, cmdLine, output);
}

int TArchiver::MakeSfx(HWND handle, const std::wstring& archiveFileName,
                       const TArchiverOptions& options, const std::wstring& dstPath,
                       std::string& cmdLine, std::string& output) {
  if (FCommands->MakesSfxWithoutDll()) {
    FCommands->MakeSfx(archiveFileName, options, dstPath);
    return 0;
  }
  cmdLine = CommandLineAnsi(FCommands->BuildMakeSfxCmd(archiveFileName, options, dstPath));
  return MainEntry2(handle, archiveFileName, TWrite::Fresh, cmdLine, output);
}

int TArchiver::UnpackToMem(HWND handle, const std::wstring& archiveFileName,
                           const TArchiverOptions& options, const std::wstring& fileName,
                           void* lpvBuffer, DWORD dwSize, DWORD* lpdwWriteSize,
                           std::string& cmdLine) {
  cmdLine = CommandLineAnsi(FCommands->BuildUnpackToMemCmd(archiveFileName, options, fileName));
  return FDll->ExtractMem(handle, cmdLine, static_cast<LPBYTE>(lpvBuffer), dwSize, nullptr, nullptr,
                          lpdwWriteSize);
}

unsigned TArchiver::CheckArchive(const std::wstring& archiveFileName, int checkMode,
                                 int checkOptions) {
  return static_cast<unsigned>(
      FDll->CheckArchive(ToAnsi(archiveFileName), checkMode + checkOptions));
}

bool TArchiver::SetOwnerWindowEx(HWND handle, TArchiverProc proc) {
  FOwnerWindow = handle;
  try {
    return FDll->SetOwnerWindowEx(handle, proc) != FALSE;
  } catch (...) {
    // No window was registered: commands must not ask the DLL for progress it cannot send.
    FOwnerWindow = nullptr;
    throw;
  }
}

bool TArchiver::KillOwnerWindowEx(HWND handle) {
  // Cleared whatever the DLL says, so a failed call never leaves progress switched on.
  struct Clear {
    HWND& window;
    ~Clear() { window = nullptr; }
  } clear{FOwnerWindow};
  return FDll->KillOwnerWindowEx(handle) != FALSE;
}

BOOL TArchiver::SetEnumMembersProc64(TEnumMemberProc proc, DWORD structSize) {
  return FDll->SetEnumMembersProc64(proc, structSize);
}

BOOL TArchiver::ClearEnumMembersProc64() {
  return FDll->ClearEnumMembersProc64();
}

}  // namespace vlm
