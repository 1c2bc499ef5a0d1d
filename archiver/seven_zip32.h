#pragma once
// 7z archives through 7-zip32.dll. Self-extracting programs are made without the DLL, from one of
// 7-Zip's own modules: stub, optional configuration file, archive.
#include "archiver/archiver_commands.h"

namespace vlm {

class TSevenZip32 : public TArchiverCommands {
 public:
  using TArchiverCommands::TArchiverCommands;
  TArchiverType ArchiverType() const override { return at7z; }

  // "x" keeps the members' folders, "e" (x 0) drops them; only "x" gets an overwrite switch.
  std::wstring BuildUnpackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                              bool useResFile, const TFileItems& files,
                              const std::wstring& dstPath) override;
  std::wstring BuildPackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                            bool useResFile, const TFileItems& files,
                            const std::wstring& baseDir) override;
  std::wstring BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                   const TArchiverOptions& options, bool useResFile,
                                   const TFileItems& files, const std::wstring& baseDir) override;

  bool MakesSfxWithoutDll() const override { return true; }
  // The module is looked for in 7-Zip's installation folder (registry), then on the search path.
  // Throws EArchiver for gw 0 or less (no 16-bit stub exists), ESfxNoRequiredFile without the
  // module.
  std::wstring MakeSfx(const std::wstring& archiveFileName, const TArchiverOptions& options,
                       const std::wstring& dstPath) override;

  // The stub module: one of "7z.sfx" (the default, when empty), "7zC.sfx", "7zCon.sfx",
  // "7zS.sfx", "7zSD.sfx".
  std::wstring SfxModule;
  // A configuration file put between stub and archive (for the installer stubs); empty = none.
  std::wstring SfxConfigFile;

 private:
  std::wstring BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                        const TArchiverOptions& options, bool useResFile, const TFileItems& files,
                        const std::wstring& baseArgument) const;
};

}  // namespace vlm
