#pragma once
// YZ1 archives through YYZ32.DLL or YZ1.DLL. Self-extracting programs are made without the DLL:
// stub, archive, then the archive's length as 4 big-endian bytes (which the stub reads back).
#include "archiver/archiver_commands.h"

namespace vlm {

class TYZ1 : public TArchiverCommands {
 public:
  using TArchiverCommands::TArchiverCommands;
  TArchiverType ArchiverType() const override { return atYz1; }

  std::wstring BuildUnpackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                              bool useResFile, const TFileItems& files,
                              const std::wstring& dstPath) override;
  std::wstring BuildPackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                            bool useResFile, const TFileItems& files,
                            const std::wstring& baseDir) override;

  bool MakesSfxWithoutDll() const override { return true; }
  // Stub yzdos16.sfx (gw 0 or less) or yzw32cui.sfx / yzdec.exe; program "<archive>.exe".
  // Throws EArchiver when the stub is missing or the archive is 4 GB or larger (its length
  // would not fit the trailer).
  std::wstring MakeSfx(const std::wstring& archiveFileName, const TArchiverOptions& options,
                       const std::wstring& dstPath) override;

 private:
  std::wstring BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                        const TArchiverOptions& options, bool useResFile, const TFileItems& files,
                        const std::wstring& baseArgument) const;
};

}  // namespace vlm
