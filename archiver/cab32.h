#pragma once
// Cabinet archives through CAB32.DLL. No removing or updating members.
#include "archiver/archiver_commands.h"

namespace vlm {

class TCab32 : public TArchiverCommands {
 public:
  using TArchiverCommands::TArchiverCommands;
  TArchiverType ArchiverType() const override { return atCab; }

  // The archive name is made absolute first.
  std::wstring BuildUnpackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                              bool useResFile, const TFileItems& files,
                              const std::wstring& dstPath) override;
  std::wstring BuildPackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                            bool useResFile, const TFileItems& files,
                            const std::wstring& baseDir) override;
  std::wstring BuildMakeSfxCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
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
