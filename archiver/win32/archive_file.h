#pragma once
// One archive file and the operations on it. The caller sets the path (FileName), optionally the
// format (ArchiverType, otherwise guessed) and the switches (Options), then runs an operation;
// the component picks the format's archiver, runs its DLL and returns the DLL's result code
// (0 = success). CmdLine then holds the command run and Output the DLL's console output. DLL
// progress and member reports arrive as OnProgress / OnEnumMember, inside the DLL call, on the
// caller's thread.
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archiver/archiver_options.h"
#include "archiver/archiver_types.h"
#include "archiver/file_items.h"
#include "archiver/file_system_walk.h"
#include "archiver/win32/archiver.h"
#include "archiver/win32/archiver_records.h"

namespace vlm {

class TArchiveFile;
class TProgressWindow;

// State: the DLL's progress state (0 begin, 1 writing, 2 end, ...; 0x805 a file found while the
// component collects the files to pack). Setting `abort` stops the operation.
using TArchiverProgressEvent =
    std::function<void(TArchiveFile& sender, int state, LPEXTRACTINGINFOEX lpEis, bool& abort)>;
using TArchiverEnumMemberEvent =
    std::function<void(TArchiveFile& sender, TEnumMemberInfo64* enumInfo, bool& abort)>;

enum class TGuessBy { Extension, Content };

// The progress state of a file found by the collector.
inline constexpr int kStateCollecting = 0x805;

class TArchiveFile {
 public:
  TArchiveFile();
  ~TArchiveFile();
  TArchiveFile(const TArchiveFile&) = delete;
  TArchiveFile& operator=(const TArchiveFile&) = delete;

  // Chooses the format by the name's extension first (by content for ".exe"; an unknown
  // extension keeps the format). When that fails (a missing DLL) the old name stays.
  const std::wstring& FileName() const { return FFileName; }
  void SetFileName(const std::wstring& value);
  // The size of the buffer the DLL writes its console output into; 0 = no buffer.
  int OutputSize() const { return static_cast<int>(FOutputBuff.size()); }
  void SetOutputSize(int value);
  TArchiverOptions& Options() { return FOptions; }
  const TArchiverOptions& Options() const { return FOptions; }
  TArchiverType ArchiverType() const { return FArchiverType; }
  // Raises the binding's exception when the format's DLL is missing; nothing changes then.
  void SetArchiverType(TArchiverType value);
  TArchiver* Archiver() const { return FArchiver.get(); }

  TArchiverProgressEvent OnProgress;
  TArchiverEnumMemberEvent OnEnumMember;

  const std::string& CmdLine() const { return FCmdLine; }
  // The console output up to its first NUL.
  std::string Output() const;

  // The format a file is, by its extension or by asking each installed archiver DLL in turn
  // (the last one that recognises it wins); atNone when nothing does.
  static TArchiverType GuessArchiverType(const std::wstring& fileName, TGuessBy by);

  // Every `options` may be null (the component's own). Each returns the DLL's result code.
  int UnpackFiles(HWND handle, const TArchiverOptions* options, const TFileItems& files,
                  const std::wstring& dstPath);
  // Expands `files` relative to `baseDir` with the collector unless options.PackFilter is
  // pfArchiver. Returns 0x8020 without calling the DLL when a progress handler aborts the
  // collection, 0 without calling it when nothing is left to pack.
  int PackFiles(HWND handle, const TArchiverOptions* options, const TFileItems& files,
                const std::wstring& baseDir);
  // The files the last PackFiles handed to the archiver that the archive it wrote does not list
  // (see archiver/missing_members.h). Empty when every one is there, and when the archive cannot
  // be listed (no DLL that lists the format is installed).
  std::vector<std::wstring> MissingFromArchive();
  int RemoveItems(HWND handle, const TArchiverOptions* options, const TFileItems& files,
                  const std::wstring& baseDir);
  int UpdateArchive(HWND handle, const TArchiverOptions* options, const TFileItems& files,
                    const std::wstring& baseDir);
  int MakeSfx(HWND handle, const TArchiverOptions* options, const std::wstring& dstPath);
  int UnpackToMem(HWND handle, const TArchiverOptions* options, const std::wstring& fileName,
                  void* lpvBuffer, DWORD dwSize, DWORD* lpdwWriteSize);
  // The DLL's verdict: nonzero = a valid archive of the format.
  unsigned CheckArchive(int checkMode, int checkOptions);
  // 0 when the archive was opened for listing, 1 when not.
  int FindOpen(HWND handle, DWORD dwMode);
  int FindFirst(const std::wstring& fileMask, TIndivisualInfo& info);
  int FindNext(TIndivisualInfo& info);
  int FindClose();

  // The file system the collector walks; Windows' own unless a test gives another.
  void SetFileSystem(std::unique_ptr<TFileSystemWalk> fileSystem);

 private:
  friend BOOL WINAPI ArchiveFileEnumMemberProc(TEnumMemberInfo64* info);
  class TCallbackScope;

  void EnsureArchiver();
  void RequireArchiver() const;
  void BeginCallbacks(const TArchiverOptions& options);
  void EndCallbacks(const TArchiverOptions& options);
  bool WantsEnumeration(const TArchiverOptions& options) const;
  bool WantsProgress() const;
  // Both progress handlers; answers true when one of them set abort. An exception from a
  // handler cannot cross the DLL: it is kept, the command stopped, and raised afterwards.
  bool DoProgress(int state, LPEXTRACTINGINFOEX info);
  bool DoEnumMember(TEnumMemberInfo64* info);
  void RethrowPending();
  void StreamProgress(int state, LPEXTRACTINGINFOEX info);

  TArchiverType FArchiverType = atAutoDetect;
  std::unique_ptr<TArchiver> FArchiver;
  TArchiverOptions FOptions;
  std::wstring FFileName = kUnsetString;
  std::string FCmdLine;
  std::string FOutputBuff;
  std::unique_ptr<TProgressWindow> FOwnerWindow;
  TArchiverProgressEvent FOnProgress1;  // restoring streams while unpacking
  const TArchiverOptions* FActiveOptions = nullptr;
  std::vector<std::wstring> FReplacementFileList;
  std::vector<std::wstring> FLastPacked;  // what the last PackFiles handed to the archiver
  HARC FhArc = nullptr;
  std::unique_ptr<TFileSystemWalk> FFileSystem;
  std::exception_ptr FPendingError;
};

}  // namespace vlm
