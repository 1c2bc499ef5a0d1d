#include "archiver/rar32.h"

#include "archiver/cmd_opt.h"

namespace vlm {

std::wstring TRar32::BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                              const TArchiverOptions& options, bool useResFile,
                              const TFileItems& files, const std::wstring& baseArgument) const {
  TCmdOpt cmd(cfInner);
  if (options.c <= 0) cmd.Add(L"-u");
  if (options.m >= 1) cmd.Add(L"-y");
  if (options.p >= 1) cmd.Add(L"-s");
  cmd.Add(options.UserOptions);
  AddArchiveAndBase(cmd, archiveFileName, baseArgument);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TRar32::BuildUnpackCmd(const std::wstring& archiveFileName,
                                    const TArchiverOptions& options, bool useResFile,
                                    const TFileItems& files, const std::wstring& dstPath) {
  return BuildCmd(options.x == 0 ? L"-e" : L"-x", archiveFileName, options, useResFile, files,
                  dstPath);
}

std::wstring TRar32::BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options,
                                         const std::wstring& fileName) {
  return BuildCmd(L"", archiveFileName, options, false, {fileName}, L"");
}

}  // namespace vlm
