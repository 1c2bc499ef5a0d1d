#pragma once
// RAR archives through UNRAR32.DLL: unpacking only.
#include "archiver/archiver_commands.h"

namespace vlm {

class TRar32 : public TArchiverCommands {
 public:
  using TArchiverCommands::TArchiverCommands;
  TArchiverType ArchiverType() const override { return atRar; }

  // "-x" keeps the members' folders, "-e" (x 0) drops them.
  std::wstring BuildUnpackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                              bool useResFile, const TFileItems& files,
                              const std::wstring& dstPath) override;
  std::wstring BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                   const TArchiverOptions& options,
                                   const std::wstring& fileName) override;

 private:
  std::wstring BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                        const TArchiverOptions& options, bool useResFile, const TFileItems& files,
                        const std::wstring& baseArgument) const;
};

}  // namespace vlm
