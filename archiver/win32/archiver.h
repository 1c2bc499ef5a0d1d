#pragma once
// The archiver object of one format: the format's command builder joined to its process-wide DLL
// binding. It builds each operation's command, hands it to the right DLL entry in ANSI text, and
// returns the DLL's result code unchanged.
#include <windows.h>

#include <memory>
#include <string>

#include "archiver/archiver_commands.h"
#include "archiver/win32/custom_archiver_dll.h"
#include "archiver/win32/windows_archiver_platform.h"

namespace vlm {

class TArchiver {
 public:
  // Loads the format's DLL at once: throws ENoArchiverDLL (or EArchiver) when it is missing.
  explicit TArchiver(TArchiverType type);
  virtual ~TArchiver() = default;
  TArchiver(const TArchiver&) = delete;
  TArchiver& operator=(const TArchiver&) = delete;

  TArchiverType ArchiverType() const { return FType; }
  void LoadDLL();
  void FreeDLL();
  void ReleaseDLL() { FreeDLL(); }
  win::TCustomArchiverDll& DLL() const { return *FDll; }

  // Listing; the archive name is made absolute first.
  HARC OpenArchive(HWND handle, const std::wstring& archiveFileName, DWORD mode);
  int FindFirst(HARC hArc, const std::wstring& fileMask, TIndivisualInfo& info);
  int FindNext(HARC hArc, TIndivisualInfo& info);
  int CloseArchive(HARC hArc);
  // Called for each member the DLL reports while packing; no format needs it yet.
  virtual void EnumMember(TEnumMemberInfo64*, const TArchiverOptions&, bool&) {}

  // Commands. `cmdLine` receives the ANSI command run; `output` is the console output buffer
  // (its size is the size handed over; empty = no buffer).
  int UnpackFiles(HWND handle, const std::wstring& archiveFileName, const TArchiverOptions& options,
                  bool useResFile, const TFileItems& files, const std::wstring& dstPath,
                  std::string& cmdLine, std::string& output);
  int PackFiles(HWND handle, const std::wstring& archiveFileName, const TArchiverOptions& options,
                bool useResFile, const TFileItems& files, const std::wstring& baseDir,
                std::string& cmdLine, std::string& output);
  int RemoveItems(HWND handle, const std::wstring& archiveFileName, const TArchiverOptions& options,
                  bool useResFile, const TFileItems& files, const std::wstring& baseDir,
                  std::string& cmdLine, std::string& output);
  int UpdateArchive(HWND handle, const std::wstring& archiveFileName,
                    const TArchiverOptions& options, bool useResFile, const TFileItems& files,
                    const std::wstring& baseDir, std::string& cmdLine, std::string& output);
  // Formats that write the program themselves leave `cmdLine` and `output` alone and report 0.
  int MakeSfx(HWND handle, const std::wstring& archiveFileName, const TArchiverOptions& options,
              const std::wstring& dstPath, std::string& cmdLine, std::string& output);
  int UnpackToMem(HWND handle, const std::wstring& archiveFileName, const TArchiverOptions& options,
                  const std::wstring& fileName, void* lpvBuffer, DWORD dwSize, DWORD* lpdwWriteSize,
                  std::string& cmdLine);
  unsigned CheckArchive(const std::wstring& archiveFileName, int checkMode, int checkOptions);

  bool SetOwnerWindowEx(HWND handle, TArchiverProc proc);
  bool KillOwnerWindowEx(HWND handle);
  bool CallBackEnabled() const { return FOwnerWindow != nullptr; }
  BOOL SetEnumMembersProc64(TEnumMemberProc proc, DWORD structSize);
  BOOL ClearEnumMembersProc64();
  // Packing may follow an install of the DLL: load it again.
  void BeforePack() { LoadDLL(); }

 private:
  int MainEntry1(HWND handle, const std::wstring& archiveFileName, const std::string& cmdLine,
                 std::string& output);
  // How a writing command treats the archive already there: packing and the self-extracting
  // conversion build it anew, removing and updating members change it in place.
  enum class TWrite { Fresh, InPlace };
  int MainEntry2(HWND handle, const std::wstring& archiveFileName, TWrite write,
                 const std::string& cmdLine, std::string& output);
  // A missing ZIP DLL is a missing DLL to the caller (who may then offer to install one), not
  // just a failed command.
  void RequireZipDlls(bool writing) const;

  TArchiverType FType;
  HWND FOwnerWindow = nullptr;
  TWindowsArchiverPlatform FPlatform;
  win::TCustomArchiverDll* FDll = nullptr;
  std::unique_ptr<TArchiverCommands> FCommands;
};

}  // namespace vlm
