#include "archiver/bga32.h"

#include "archiver/cmd_opt.h"

namespace vlm {

std::wstring TBGA32::BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                              const TArchiverOptions& options, bool useResFile,
                              const TFileItems& files, const std::wstring& baseArgument) const {
  TCmdOpt cmd(cfInner);
  cmd.AddBolOpt(L"a", options.a >= 1);
  cmd.Add(options.c >= 1 ? L"-o" : L"-n");
  cmd.AddBolOpt(L"i", options.n >= 1 || Platform().CallBackEnabled());
  cmd.AddBolOpt(L"r", options.r >= 1);
  cmd.AddBolOpt(L"j", options.x < 1);
  cmd.AddIntOpt(L"l", options.jm);
  cmd.Add(options.UserOptions);
  AddArchiveAndBase(cmd, archiveFileName, baseArgument);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TBGA32::BuildUnpackCmd(const std::wstring& archiveFileName,
                                    const TArchiverOptions& options, bool useResFile,
                                    const TFileItems& files, const std::wstring& dstPath) {
  return BuildCmd(L"x", archiveFileName, options, useResFile, files, dstPath);
}

std::wstring TBGA32::BuildPackCmd(const std::wstring& archiveFileName,
                                  const TArchiverOptions& options, bool useResFile,
                                  const TFileItems& files, const std::wstring& baseDir) {
  return BuildCmd(L"a", archiveFileName, options, useResFile, files, baseDir);
}

std::wstring TBGA32::BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options, bool useResFile,
                                         const TFileItems& files, const std::wstring&) {
  return BuildCmd(L"d", archiveFileName, options, useResFile, files, L"");
}

std::wstring TBGA32::BuildMakeSfxCmd(const std::wstring& archiveFileName,
                                     const TArchiverOptions& options, const std::wstring& dstPath) {
  return BuildCmd(L"s", archiveFileName, options, UsesResFile(options, ruOnRemoveItem), {},
                  dstPath);
}

}  // namespace vlm
