#include "archiver/seven_zip32.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"
#include "archiver/cmd_opt.h"
#include "base/path.h"
#include "base/files.h"
#include "archiver/sfx_program.h"

namespace vlm {

namespace msg = archiver_messages;

std::wstring TSevenZip32::BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                                   const TArchiverOptions& options, bool useResFile,
                                   const TFileItems& files,
                                   const std::wstring& baseArgument) const {
  TCmdOpt cmd(cfInner);
  if (command == L"x") {
    if (options.m == 2) {
      cmd.Add(L"-aou");
    } else if (options.jn >= 1) {
      cmd.Add(L"-aos");
    } else if (options.c >= 1) {
      cmd.Add(L"-aoa");
    }
  }
  cmd.Add(L"-ms=off");
  if (options.n >= 1) cmd.Add(L"-hide");
  if (options.r == 0) cmd.Add(L"-r-");
  if (options.r >= 2) cmd.Add(L"-r");
  cmd.AddPath1(L"w", options.w);
  if (options.y >= 1) cmd.Add(L"-y");
  cmd.AddFList2(L"x!", {options.jx});
  cmd.AddPath1(L"o", baseArgument);
  cmd.Add(options.UserOptions);
  cmd.AddFName1(L"", archiveFileName);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TSevenZip32::BuildUnpackCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options, bool useResFile,
                                         const TFileItems& files, const std::wstring& dstPath) {
  return BuildCmd(options.x == 0 ? L"e" : L"x", archiveFileName, options, useResFile, files,
                  dstPath);
}

std::wstring TSevenZip32::BuildPackCmd(const std::wstring& archiveFileName,
                                       const TArchiverOptions& options, bool useResFile,
                                       const TFileItems& files, const std::wstring& baseDir) {
  return BuildCmd(L"u", archiveFileName, options, useResFile, files, baseDir);
}

std::wstring TSevenZip32::BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                              const TArchiverOptions& options, bool useResFile,
                                              const TFileItems& files, const std::wstring&) {
  return BuildCmd(L"d", archiveFileName, options, useResFile, files, L"");
}

std::wstring TSevenZip32::MakeSfx(const std::wstring& archiveFileName,
                                  const TArchiverOptions& options, const std::wstring& dstPath) {
  if (options.gw <= 0) throw EArchiver(msg::kSevenZipNo16BitSfx);
  const std::wstring module = SfxModule.empty() ? L"7z.sfx" : SfxModule;

  std::optional<std::wstring> stub;
  if (auto folder = Platform().ReadMachineRegistryString(L"SOFTWARE\\7-ZIP", L"Path")) {
    std::wstring candidate = JoinPath(*folder, module);
    if (Platform().FileExists(candidate)) stub = std::move(candidate);
  }
  if (!stub) stub = Platform().SearchExecutablePath(module);
  if (!stub) throw ESfxNoRequiredFile(L"7z", L"", module);

  const std::wstring program = SfxProgramPath(archiveFileName, L".exe", dstPath);
  CheckProgramIsNotArchive(program, archiveFileName);
  TReplacingFile out(program);
  out.AppendFile(*stub);
  if (!SfxConfigFile.empty()) out.AppendFile(SfxConfigFile);
  out.AppendFile(archiveFileName);
  out.Commit();
  return program;
}

}  // namespace vlm
