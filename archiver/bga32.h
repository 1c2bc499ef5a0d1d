#pragma once
// GZA / BZA archives through BGA32.DLL.
#include "archiver/archiver_commands.h"

namespace vlm {

class TBGA32 : public TArchiverCommands {
 public:
  using TArchiverCommands::TArchiverCommands;
  TArchiverType ArchiverType() const override { return atBga; }

  std::wstring BuildUnpackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                              bool useResFile, const TFileItems& files,
                              const std::wstring& dstPath) override;
  std::wstring BuildPackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                            bool useResFile, const TFileItems& files,
                            const std::wstring& baseDir) override;
  std::wstring BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                   const TArchiverOptions& options, bool useResFile,
                                   const TFileItems& files, const std::wstring& baseDir) override;
  // The DLL makes the program; its (empty) file list may go to the response file when
  // ResFileUsage holds ruOnRemoveItem.
  std::wstring BuildMakeSfxCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                               const std::wstring& dstPath) override;

 private:
  std::wstring BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                        const TArchiverOptions& options, bool useResFile, const TFileItems& files,
                        const std::wstring& baseArgument) const;
};

}  // namespace vlm
