#pragma once
// tar, gzip and bzip2 archives through TAR32.DLL. TTgz32 and TBZ232 differ from TTar32 only in
// the compression switch they add. Self-extracting programs are made without the DLL, from the
// kmtarsef.exe stub.
#include "archiver/archiver_commands.h"

namespace vlm {

class TTar32 : public TArchiverCommands {
 public:
  using TArchiverCommands::TArchiverCommands;
  TArchiverType ArchiverType() const override { return atTar; }

  std::wstring BuildUnpackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                              bool useResFile, const TFileItems& files,
                              const std::wstring& dstPath) override;
  std::wstring BuildPackCmd(const std::wstring& archiveFileName, const TArchiverOptions& options,
                            bool useResFile, const TFileItems& files,
                            const std::wstring& baseDir) override;
  std::wstring BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                   const TArchiverOptions& options,
                                   const std::wstring& fileName) override;

  bool MakesSfxWithoutDll() const override { return true; }
  // kmtarsef.exe, then the archive, as "<archive>.EXE". Throws ESfxNoRequiredFile without the
  // stub.
  std::wstring MakeSfx(const std::wstring& archiveFileName, const TArchiverOptions& options,
                       const std::wstring& dstPath) override;

 protected:
  // The compression switch letter ("z", "B") or empty for plain tar.
  virtual const wchar_t* CompressionSwitch() const { return L""; }

 private:
  std::wstring BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                        const TArchiverOptions& options, bool useResFile, const TFileItems& files,
                        const std::wstring& baseArgument) const;
};

class TTgz32 : public TTar32 {
 public:
  using TTar32::TTar32;
  TArchiverType ArchiverType() const override { return atTgz; }

 protected:
  const wchar_t* CompressionSwitch() const override { return L"z"; }
};

class TBZ232 : public TTar32 {
 public:
  using TTar32::TTar32;
  TArchiverType ArchiverType() const override { return atBZ2; }

  // Always throws EArchiver: there is no bzip2 stub.
  std::wstring MakeSfx(const std::wstring& archiveFileName, const TArchiverOptions& options,
                       const std::wstring& dstPath) override;

 protected:
  const wchar_t* CompressionSwitch() const override { return L"B"; }
};

}  // namespace vlm
