#pragma once
// LHA archives through UNLHA32.DLL: one builder for every command, every switch in the options'
// declaration order.
#include "archiver/archiver_commands.h"

namespace vlm {

class TLha32 : public TArchiverCommands {
 public:
  using TArchiverCommands::TArchiverCommands;
  TArchiverType ArchiverType() const override { return atLha; }

  // Throws EAssertionFailed when jse is unset; every command throws it when jso is unset.
  std::wstring BuildUnpackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                              bool useResFile, const TFileItems& files,
                              const std::wstring& dstPath) override;
  std::wstring BuildPackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                            bool useResFile, const TFileItems& files,
                            const std::wstring& baseDir) override;
  std::wstring BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                   const TArchiverOptions& options, bool useResFile,
                                   const TFileItems& files, const std::wstring& baseDir) override;
  std::wstring BuildUpdateArchiveCmd(const std::wstring& archiveFileName,
                                     const TArchiverOptions& options, bool useResFile,
                                     const TFileItems& files, const std::wstring& baseDir) override;
  std::wstring BuildMakeSfxCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                               const std::wstring& dstPath) override;
  std::wstring BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                   const TArchiverOptions& options,
                                   const std::wstring& fileName) override;

 private:
  std::wstring BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                        const TArchiverOptions& options, bool useResFile, const TFileItems& files,
                        const std::wstring& baseArgument);
};

}  // namespace vlm
