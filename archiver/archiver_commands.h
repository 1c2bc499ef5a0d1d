#pragma once
// The command side of one archive format: for each operation, the command text its DLL is run
// with. The text is the command word followed by a TCmdOpt line (which begins with a space), so a
// command without a word begins with a space. The DLL takes it as ANSI text: CommandLineAnsi().
//
// The DLL entry per operation is the runtime's business: unpacking runs the main entry as reader
// (MainEntry1), pack / remove / update / self-extracting as writer (MainEntry2), to-memory runs
// ExtractMem. A builder that writes a response file (ResFileName) does so while it builds, so the
// file exists when the DLL is run.
#include <string>

#include "archiver/archiver_options.h"
#include "archiver/archiver_platform.h"
#include "archiver/archiver_types.h"
#include "archiver/file_items.h"

namespace vlm {

class TArchiverCommands {
 public:
  explicit TArchiverCommands(const TArchiverPlatform& platform) : FPlatform(platform) {}
  virtual ~TArchiverCommands() = default;
  TArchiverCommands(const TArchiverCommands&) = delete;
  TArchiverCommands& operator=(const TArchiverCommands&) = delete;

  virtual TArchiverType ArchiverType() const = 0;

  // `useResFile` is true when the operation's bit is in options.ResFileUsage (ruOnUnpack,
  // ruOnPack, ruOnRemoveItem, ruOnUpdate); UsesResFile() gives it.
  virtual std::wstring BuildUnpackCmd(const std::wstring& archiveFileName,
                                      const TArchiverOptions& options, bool useResFile,
                                      const TFileItems& files, const std::wstring& dstPath) = 0;
  virtual std::wstring BuildPackCmd(const std::wstring& archiveFileName,
                                    const TArchiverOptions& options, bool useResFile,
                                    const TFileItems& files, const std::wstring& baseDir);
  virtual std::wstring BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                           const TArchiverOptions& options, bool useResFile,
                                           const TFileItems& files, const std::wstring& baseDir);
  virtual std::wstring BuildUpdateArchiveCmd(const std::wstring& archiveFileName,
                                             const TArchiverOptions& options, bool useResFile,
                                             const TFileItems& files, const std::wstring& baseDir);
  // Used only when MakesSfxWithoutDll() is false.
  virtual std::wstring BuildMakeSfxCmd(const std::wstring& archiveFileName,
                                       const TArchiverOptions& options,
                                       const std::wstring& dstPath);
  virtual std::wstring BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                           const TArchiverOptions& options,
                                           const std::wstring& fileName);

  // True for formats that write self-extracting programs themselves (stub + archive): the
  // runtime then calls MakeSfx instead of BuildMakeSfxCmd and the DLL, leaves CmdLine and Output
  // alone, and reports 0.
  virtual bool MakesSfxWithoutDll() const { return false; }
  // Writes the program; returns its path. Throws as the base builders do when unsupported.
  virtual std::wstring MakeSfx(const std::wstring& archiveFileName, const TArchiverOptions& options,
                               const std::wstring& dstPath);

 protected:
  const TArchiverPlatform& Platform() const { return FPlatform; }

 private:
  const TArchiverPlatform& FPlatform;
};

// Whether an operation with this usage bit may put its file list in the response file.
inline bool UsesResFile(const TArchiverOptions& options, TResFileUse use) {
  return options.ResFileUsage.Contains(use);
}

// The command text as the DLL takes it (ANSI, code page 932 on the systems served).
std::string CommandLineAnsi(const std::wstring& commandText);

}  // namespace vlm
