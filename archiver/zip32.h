#pragma once
// ZIP archives through the ZIP family: UNZIP32.DLL unpacks, ZIP32J.DLL packs, LMZIP32.DLL can do
// either. Which builder runs depends on the operation and on which of them are loaded.
#include "archiver/archiver_commands.h"

namespace vlm {

// How ZIP DLLs read member names: "/" separators, "[" as a wildcard opener (so a literal one is
// written "[[]"), a leading "-" as a switch and a leading "@" as a response file (so they are
// written "[-]" and "[@]"). The one-character class is the ZIP DLLs' own way to write a literal
// character, and it serves every use of a name: a file to add, a member to delete, a member to
// extract. A ".\" in front, as the other formats get (PathArgument), would name a file to add
// but no longer match a stored member.
std::wstring ZipNameFilter(const std::wstring& name);

class TZip32 : public TArchiverCommands {
 public:
  using TArchiverCommands::TArchiverCommands;
  TArchiverType ArchiverType() const override { return atZip; }

  // Throws EArchiver when neither UNZIP32.DLL nor LMZIP32.DLL is loaded.
  std::wstring BuildUnpackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                              bool useResFile, const TFileItems& files,
                              const std::wstring& dstPath) override;
  // ZIP32J.DLL when loaded, else LMZIP32.DLL (which takes no base folder); throws EArchiver when
  // neither is.
  std::wstring BuildPackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                            bool useResFile, const TFileItems& files,
                            const std::wstring& baseDir) override;
  std::wstring BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                   const TArchiverOptions& options, bool useResFile,
                                   const TFileItems& files, const std::wstring& baseDir) override;
  std::wstring BuildUpdateArchiveCmd(const std::wstring& archiveFileName,
                                     const TArchiverOptions& options, bool useResFile,
                                     const TFileItems& files, const std::wstring& baseDir) override;
  // Writes the program (stub sfx16.dat or sfx32gui.dat, then the archive) with the extension
  // ".EXE" and answers "-A <program>": ZIP32J.DLL then fixes the program's offsets. The runtime's
  // writing entry deletes the archive first. Throws ESfxNoRequiredFile without ZIP32J.DLL or the
  // stub.
  std::wstring BuildMakeSfxCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                               const std::wstring& dstPath) override;
  std::wstring BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                   const TArchiverOptions& options,
                                   const std::wstring& fileName) override;

 private:
  std::wstring BuildUnZipCmd(const std::wstring& command, const std::wstring& archiveFileName,
                             const TArchiverOptions& options, bool useResFile,
                             const TFileItems& files, const std::wstring& baseArgument) const;
  std::wstring BuildLmZipCmd(const std::wstring& command, const std::wstring& archiveFileName,
                             const TArchiverOptions& options, bool useResFile,
                             const TFileItems& files) const;
  std::wstring BuildZip32JCmd(const std::wstring& command, const std::wstring& archiveFileName,
                              const TArchiverOptions& options, bool useResFile,
                              const TFileItems& files, const std::wstring& baseArgument) const;
};

}  // namespace vlm
