#include "archiver/win32/archive_file.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "archiver/archiver_errors.h"
#include "archiver/file_collector.h"
#include "archiver/missing_members.h"
#include "archiver/win32/extra_streams.h"
#include "archiver/win32/format_bindings.h"
#include "archiver/win32/progress_window.h"
#include "archiver/win32/windows_file_system_walk.h"
#include "base/ansi_text.h"
#include "base/files.h"

namespace vlm {
namespace {

// The component running an operation with member enumeration; the DLL's callback carries no
// context of its own, so only one such operation can run at a time.
TArchiveFile* CurrentArchiveFile = nullptr;

constexpr DWORD kProbeOpenMode = 0x800002;

// `text` into a fixed ANSI field, cut to fit, always NUL-terminated.
template <size_t N>
void CopyAnsi(char (&field)[N], const std::wstring& text) {
  const std::string ansi = ToAnsi(text);
  const size_t length = std::min(ansi.size(), N - 1);
  std::memcpy(field, ansi.data(), length);
  field[length] = '\0';
}

std::wstring AbsolutePath(const std::wstring& fileName) {
  const DWORD length = GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
  if (length == 0) return fileName;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(fileName.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return fileName;
  full.resize(written);
  return full;
}

// One probe of the guess by content: the format's DLL opens the file for listing.
bool Opens(TArchiverType type, const std::string& fileName) {
  win::TCustomArchiverDll& dll = win::LoadFormatDll(type);
  const HARC archive = dll.OpenArchive(nullptr, fileName, kProbeOpenMode);
  if (!archive) return false;
  dll.CloseArchive(archive);
  return true;
}

TArchiverType TarTypeOf(int code) {
  if (code == 1) return atTar;
  if (code >= 2 && code <= 5) return atTgz;
  if (code >= 6 && code <= 7) return atBZ2;
  return atNone;
}

// Deletes the collector's stream copies however packing ends; a failure is ignored.
class TTemporaryFiles {
 public:
  explicit TTemporaryFiles(const std::vector<std::wstring>& files) : FFiles(files) {}
  ~TTemporaryFiles() {
    // The copies are ours: a read-only bit goes first.
    for (const std::wstring& file : FFiles) (void)RemoveFile(file);
  }
  TTemporaryFiles(const TTemporaryFiles&) = delete;
  TTemporaryFiles& operator=(const TTemporaryFiles&) = delete;

 private:
  const std::vector<std::wstring>& FFiles;
};

}  // namespace

BOOL WINAPI ArchiveFileEnumMemberProc(TEnumMemberInfo64* info) {
  if (!CurrentArchiveFile) return TRUE;
  return CurrentArchiveFile->DoEnumMember(info) ? FALSE : static_cast<BOOL>(-1);
}

// Registers the callbacks an operation wants and always undoes them, also when the operation
// raises.
class TArchiveFile::TCallbackScope {
 public:
  TCallbackScope(TArchiveFile& owner, const TArchiverOptions& options)
      : FOwner(owner), FOptions(options) {
    owner.BeginCallbacks(options);
  }
  ~TCallbackScope() { FOwner.EndCallbacks(FOptions); }
  TCallbackScope(const TCallbackScope&) = delete;
  TCallbackScope& operator=(const TCallbackScope&) = delete;

 private:
  TArchiveFile& FOwner;
  const TArchiverOptions& FOptions;
};

TArchiveFile::TArchiveFile() = default;

TArchiveFile::~TArchiveFile() {
  if (CurrentArchiveFile == this) CurrentArchiveFile = nullptr;
  if (FhArc && FArchiver) {
    try {
      FArchiver->CloseArchive(FhArc);
    } catch (...) {
      // The listing dies with the component.
    }
  }
}

void TArchiveFile::SetFileSystem(std::unique_ptr<TFileSystemWalk> fileSystem) {
  FFileSystem = std::move(fileSystem);
}

std::string TArchiveFile::Output() const {
  return std::string(FOutputBuff.c_str());
}

void TArchiveFile::SetOutputSize(int value) {
  FOutputBuff.assign(value > 0 ? static_cast<size_t>(value) : 0, '\0');
}

void TArchiveFile::SetFileName(const std::wstring& value) {
  SetArchiverType(GuessArchiverType(value, TGuessBy::Extension));
  FFileName = value;
}

void TArchiveFile::SetArchiverType(TArchiverType value) {
  switch (value) {
    case atNone:
      return;
    case atAutoDetect:
      FArchiverType = value;
      return;
    case atGCA:
    case atBel:
      throw EArchiver(L"書庫の形式を特定できませんでした。");
    default:
      break;
  }
  auto archiver = std::make_unique<TArchiver>(value);
  FArchiver = std::move(archiver);
  FArchiverType = value;
}

TArchiverType TArchiveFile::GuessArchiverType(const std::wstring& fileName, TGuessBy by) {
  if (by == TGuessBy::Extension) {
    const TArchiverType type = GuessArchiverTypeByExtension(fileName);
    return type == atAutoDetect ? GuessArchiverType(fileName, TGuessBy::Content) : type;
  }
  const std::wstring absolute = AbsolutePath(fileName);
  const std::string ansi = ToAnsi(absolute);
  const bool exists = FileExists(absolute);
  // Every probe runs; a later one that recognises the file overrides an earlier one.
  TArchiverType result = atNone;
  auto probe = [&](TArchiverType type, const std::function<bool()>& recognises) {
    try {
      if (recognises()) result = type;
    } catch (...) {
      // A missing DLL or entry: this format does not recognise the file.
    }
  };
  try {
    result = TarTypeOf(win::LoadFormatDll(atTar).GetArchiveType(ansi));
  } catch (...) {
    result = atNone;
  }
  probe(atRar, [&] { return Opens(atRar, ansi); });
  probe(atArj, [&] { return Opens(atArj, ansi); });
  probe(atZip, [&] {
    return win::LoadFormatDll(atZip).CheckArchive(ansi, 24) && exists && Opens(atZip, ansi);
  });
  probe(atBga, [&] { return exists && Opens(atBga, ansi); });
  probe(atYz1, [&] { return exists && Opens(atYz1, ansi); });
  probe(atCab, [&] { return Opens(atCab, ansi); });
  probe(atLha,
        [&] { return win::LoadFormatDll(atLha).CheckArchive(ansi, 16) && Opens(atLha, ansi); });
  return result;
}

void TArchiveFile::EnsureArchiver() {
  if (FArchiverType == atAutoDetect) {
    SetArchiverType(GuessArchiverType(FFileName, TGuessBy::Content));
  }
}

void TArchiveFile::RequireArchiver() const {
  if (!FArchiver) throw EArchiver(L"書庫の形式を判別できません。");
}

bool TArchiveFile::WantsEnumeration(const TArchiverOptions& options) const {
  return OnEnumMember || options.IncludeExtraStreams;
}

bool TArchiveFile::WantsProgress() const {
  return OnProgress || FOnProgress1;
}

void TArchiveFile::BeginCallbacks(const TArchiverOptions& options) {
  if (WantsEnumeration(options)) {
    CurrentArchiveFile = this;
    FArchiver->SetEnumMembersProc64(ArchiveFileEnumMemberProc, sizeof(TEnumMemberInfo64));
  }
  if (WantsProgress()) {
    try {
      if (!FOwnerWindow) {
        FOwnerWindow = std::make_unique<TProgressWindow>(
            [this](int state, LPEXTRACTINGINFOEX info) { return DoProgress(state, info); });
      }
      FArchiver->SetOwnerWindowEx(FOwnerWindow->Handle(), nullptr);
    } catch (...) {
      // Without an owner window progress events simply do not arrive.
    }
  }
}

void TArchiveFile::EndCallbacks(const TArchiverOptions& options) {
  if (WantsEnumeration(options)) {
    if (CurrentArchiveFile == this) CurrentArchiveFile = nullptr;
    try {
      FArchiver->ClearEnumMembersProc64();
    } catch (...) {
      // Nothing was registered then.
    }
  }
  if (WantsProgress() && FOwnerWindow) {
    try {
      FArchiver->KillOwnerWindowEx(FOwnerWindow->Handle());
    } catch (...) {
      // Nothing was registered then.
    }
  }
}

bool TArchiveFile::DoProgress(int state, LPEXTRACTINGINFOEX info) {
  bool abort = false;
  try {
    if (FOnProgress1) FOnProgress1(*this, state, info, abort);
    if (OnProgress) OnProgress(*this, state, info, abort);
  } catch (...) {
    if (!FPendingError) FPendingError = std::current_exception();
    abort = true;
  }
  return abort;
}

bool TArchiveFile::DoEnumMember(TEnumMemberInfo64* info) {
  bool abort = false;
  try {
    FArchiver->EnumMember(info, FActiveOptions ? *FActiveOptions : FOptions, abort);
    if (!abort && OnEnumMember) OnEnumMember(*this, info, abort);
  } catch (...) {
    if (!FPendingError) FPendingError = std::current_exception();
    abort = true;
  }
  return abort;
}

void TArchiveFile::RethrowPending() {
  if (FPendingError) std::rethrow_exception(std::exchange(FPendingError, nullptr));
}

void TArchiveFile::StreamProgress(int state, LPEXTRACTINGINFOEX info) {
  if (state != 1 || !info || !FActiveOptions) return;
  const std::wstring source = FromAnsi(info->exinfo.szSourceFileName);
  if (source.find(FActiveOptions->StreamSeparator) == std::wstring::npos) return;
  const std::wstring dest = FromAnsi(info->exinfo.szDestFileName);
  // Sorted, duplicates ignored.
  const auto at = std::lower_bound(FReplacementFileList.begin(), FReplacementFileList.end(), dest);
  if (at == FReplacementFileList.end() || *at != dest) FReplacementFileList.insert(at, dest);
}

int TArchiveFile::UnpackFiles(HWND handle, const TArchiverOptions* options, const TFileItems& files,
                              const std::wstring& dstPath) {
  FCmdLine.clear();
  RequireArchiver();
  const TArchiverOptions& opts = options ? *options : FOptions;
  const bool restoreStreams = opts.IncludeExtraStreams && !opts.StreamSeparator.empty();
  if (restoreStreams) {
    FReplacementFileList.clear();
    FActiveOptions = &opts;
    FOnProgress1 = [this](TArchiveFile&, int state, LPEXTRACTINGINFOEX info, bool&) {
      StreamProgress(state, info);
    };
  }
  int result = 0;
  {
    struct Finally {
      TArchiveFile& self;
      const TArchiverOptions& opts;
      const std::wstring& dstPath;
      ~Finally() {
        if (!self.FReplacementFileList.empty()) {
          RestoreStreams(self.FReplacementFileList, opts.StreamSeparator, dstPath);
        }
        self.FReplacementFileList.clear();
        self.FActiveOptions = nullptr;
        self.FOnProgress1 = nullptr;
      }
    } finally{*this, opts, dstPath};
    TCallbackScope callbacks(*this, opts);
    result = FArchiver->UnpackFiles(handle, FFileName, opts, UsesResFile(opts, ruOnUnpack), files,
                                    dstPath, FCmdLine, FOutputBuff);
  }
  RethrowPending();
  return result;
}

int TArchiveFile::PackFiles(HWND handle, const TArchiverOptions* options, const TFileItems& files,
                            const std::wstring& baseDir) {
  EnsureArchiver();
  RequireArchiver();
  const TArchiverOptions& opts = options ? *options : FOptions;
  FArchiver->BeforePack();
  FLastPacked.clear();
  if (opts.PackFilter == pfArchiver) {
    FLastPacked = FileItemNames(files);
    int result = 0;
    {
      TCallbackScope callbacks(*this, opts);
      result = FArchiver->PackFiles(handle, FFileName, opts, UsesResFile(opts, ruOnPack), files,
                                    baseDir, FCmdLine, FOutputBuff);
    }
    RethrowPending();
    return result;
  }

  TArchiverOptions working = opts;
  TCollectedFiles collected;
  TTemporaryFiles temporaries(collected.temporaryFiles);
  if (!FFileSystem) FFileSystem = CreateWindowsFileSystemWalk();
  CollectFiles(
      *FFileSystem, working, files, baseDir,
      [this](const std::wstring& path) {
        TExtractingInfoEx info{};
        CopyAnsi(info.exinfo.szSourceFileName, path);
        return DoProgress(kStateCollecting, &info);
      },
      collected);
  RethrowPending();
  if (collected.aborted) return kArchiverUserCancel;
  if (collected.files.empty()) {
    if (!FOutputBuff.empty()) FOutputBuff[0] = '\0';
    return 0;
  }

  working.jx.clear();
  FLastPacked = collected.files;
  int result = 0;
  {
    TCallbackScope callbacks(*this, working);
    result = FArchiver->PackFiles(handle, FFileName, working, UsesResFile(working, ruOnPack),
                                  {collected.files}, baseDir, FCmdLine, FOutputBuff);
  }
  RethrowPending();
  return result;
}

int TArchiveFile::RemoveItems(HWND handle, const TArchiverOptions* options, const TFileItems& files,
                              const std::wstring& baseDir) {
  FCmdLine.clear();
  EnsureArchiver();
  RequireArchiver();
  const TArchiverOptions& opts = options ? *options : FOptions;
  int result = 0;
  {
    TCallbackScope callbacks(*this, opts);
    result = FArchiver->RemoveItems(handle, FFileName, opts, UsesResFile(opts, ruOnRemoveItem),
                                    files, baseDir, FCmdLine, FOutputBuff);
  }
  RethrowPending();
  return result;
}

int TArchiveFile::UpdateArchive(HWND handle, const TArchiverOptions* options,
                                const TFileItems& files, const std::wstring& baseDir) {
  FCmdLine.clear();
  EnsureArchiver();
  RequireArchiver();
  const TArchiverOptions& opts = options ? *options : FOptions;
  int result = 0;
  {
    TCallbackScope callbacks(*this, opts);
    result = FArchiver->UpdateArchive(handle, FFileName, opts, UsesResFile(opts, ruOnUpdate), files,
                                      baseDir, FCmdLine, FOutputBuff);
  }
  RethrowPending();
  return result;
}

int TArchiveFile::MakeSfx(HWND handle, const TArchiverOptions* options,
                          const std::wstring& dstPath) {
  FCmdLine.clear();
  RequireArchiver();
  const TArchiverOptions& opts = options ? *options : FOptions;
  int result = 0;
  {
    TCallbackScope callbacks(*this, opts);
    result = FArchiver->MakeSfx(handle, FFileName, opts, dstPath, FCmdLine, FOutputBuff);
  }
  RethrowPending();
  return result;
}

int TArchiveFile::UnpackToMem(HWND handle, const TArchiverOptions* options,
                              const std::wstring& fileName, void* lpvBuffer, DWORD dwSize,
                              DWORD* lpdwWriteSize) {
  FCmdLine.clear();
  RequireArchiver();
  const TArchiverOptions& opts = options ? *options : FOptions;
  int result = 0;
  {
    TCallbackScope callbacks(*this, opts);
    result = FArchiver->UnpackToMem(handle, FFileName, opts, fileName, lpvBuffer, dwSize,
                                    lpdwWriteSize, FCmdLine);
  }
  RethrowPending();
  return result;
}

unsigned TArchiveFile::CheckArchive(int checkMode, int checkOptions) {
  EnsureArchiver();
  RequireArchiver();
  unsigned result = 0;
  {
    TCallbackScope callbacks(*this, FOptions);
    result = FArchiver->CheckArchive(FFileName, checkMode, checkOptions);
  }
  RethrowPending();
  return result;
}

std::vector<std::wstring> TArchiveFile::MissingFromArchive() {
  std::vector<std::wstring> listed;
  try {
    if (FindOpen(nullptr, 0) != 0) return {};
    TIndivisualInfo info{};
    for (int found = FindFirst(L"*", info); found == 0; found = FindNext(info))
      listed.push_back(FromAnsi(info.szFileName));
    FindClose();
  } catch (const std::exception&) {
    return {};  // nothing lists this format here: no comparison, no false alarm
  }
  return MissingMembers(FLastPacked, listed);
}

int TArchiveFile::FindOpen(HWND handle, DWORD dwMode) {
  EnsureArchiver();
  RequireArchiver();
  FhArc = FArchiver->OpenArchive(handle, FFileName, dwMode);
  return FhArc ? 0 : 1;
}

int TArchiveFile::FindFirst(const std::wstring& fileMask, TIndivisualInfo& info) {
  RequireArchiver();
  return FArchiver->FindFirst(FhArc, fileMask, info);
}

int TArchiveFile::FindNext(TIndivisualInfo& info) {
  RequireArchiver();
  return FArchiver->FindNext(FhArc, info);
}

int TArchiveFile::FindClose() {
  RequireArchiver();
  const int result = FArchiver->CloseArchive(FhArc);
  FhArc = nullptr;
  return result;
}

}  // namespace vlm
