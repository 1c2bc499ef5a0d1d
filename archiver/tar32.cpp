#include "archiver/tar32.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"
#include "archiver/cmd_opt.h"
#include "base/files.h"
#include "archiver/sfx_program.h"

namespace vlm {

namespace msg = archiver_messages;

std::wstring TTar32::BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                              const TArchiverOptions& options, bool useResFile,
                              const TFileItems& files, const std::wstring& baseArgument) const {
  TCmdOpt cmd(cfOuter);
  if (options.a >= 1) cmd.Add(L"-AH");
  if (options.a == 0) cmd.Add(L"-I");
  if (!Platform().CallBackEnabled() && options.n >= 1) cmd.Add(L"--display-dialog=0");
  if (options.o >= 1) cmd.Add(L"-g");
  cmd.AddIntOpt(L"-check-all-path=", options.p);
  cmd.AddIntOpt(L"-use-directory=", options.x);
  const std::wstring compression = CompressionSwitch();
  if (!compression.empty()) {
    // The level rides on the switch; without one the DLL picks its own.
    if (options.jm >= 1) {
      cmd.AddIntOpt(compression, options.jm);
    } else {
      cmd.AddBolOpt(compression, true);
    }
  }
  cmd.Add(options.UserOptions);
  if (!archiveFileName.empty()) cmd.AddFName1(L"f", archiveFileName);
  cmd.AddPath1(L"o", baseArgument);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TTar32::BuildUnpackCmd(const std::wstring& archiveFileName,
                                    const TArchiverOptions& options, bool useResFile,
                                    const TFileItems& files, const std::wstring& dstPath) {
  return BuildCmd(L"x", archiveFileName, options, useResFile, files, dstPath);
}

std::wstring TTar32::BuildPackCmd(const std::wstring& archiveFileName,
                                  const TArchiverOptions& options, bool useResFile,
                                  const TFileItems& files, const std::wstring& baseDir) {
  return BuildCmd(L"c", archiveFileName, options, useResFile, files, baseDir);
}

std::wstring TTar32::BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options,
                                         const std::wstring& fileName) {
  return BuildCmd(L"", archiveFileName, options, false, {fileName}, L"");
}

std::wstring TTar32::MakeSfx(const std::wstring& archiveFileName, const TArchiverOptions&,
                             const std::wstring& dstPath) {
  const std::wstring module = L"kmtarsef.exe";
  const std::optional<std::wstring> stub = Platform().SearchExecutablePath(module);
  if (!stub) throw ESfxNoRequiredFile(L"tar/tgz", L"", module);

  const std::wstring program = SfxProgramPath(archiveFileName, L".EXE", dstPath);
  CheckProgramIsNotArchive(program, archiveFileName);
  TReplacingFile out(program);
  out.AppendFile(*stub);
  out.AppendFile(archiveFileName);
  out.Commit();
  return program;
}

std::wstring TBZ232::MakeSfx(const std::wstring&, const TArchiverOptions&, const std::wstring&) {
  throw EArchiver(msg::kBz2NoSfx);
}

}  // namespace vlm
