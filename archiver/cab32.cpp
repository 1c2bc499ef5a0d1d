#include "archiver/cab32.h"

#include "archiver/cmd_opt.h"

namespace vlm {

std::wstring TCab32::BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                              const TArchiverOptions& options, bool useResFile,
                              const TFileItems& files, const std::wstring& baseArgument) const {
  TCmdOpt cmd(cfInner);
  if (options.c == 1) cmd.Add(L"-o");
  if (options.n >= 1 || Platform().CallBackEnabled()) cmd.Add(L"-i");
  if (options.r >= 1) cmd.Add(L"-r");
  cmd.AddPath1(L"h", options.w);
  if (options.x == 0) cmd.Add(L"-j");
  if (options.ji >= 1) cmd.Add(L"-q");
  cmd.Add(options.UserOptions);
  AddArchiveAndBase(cmd, archiveFileName, baseArgument);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TCab32::BuildUnpackCmd(const std::wstring& archiveFileName,
                                    const TArchiverOptions& options, bool useResFile,
                                    const TFileItems& files, const std::wstring& dstPath) {
  return BuildCmd(L"-x", Platform().ExpandFileName(archiveFileName), options, useResFile, files,
                  dstPath);
}

std::wstring TCab32::BuildPackCmd(const std::wstring& archiveFileName,
                                  const TArchiverOptions& options, bool useResFile,
                                  const TFileItems& files, const std::wstring& baseDir) {
  return BuildCmd(L"-a", archiveFileName, options, useResFile, files, baseDir);
}

std::wstring TCab32::BuildMakeSfxCmd(const std::wstring& archiveFileName,
                                     const TArchiverOptions& options, const std::wstring& dstPath) {
  return BuildCmd(L"-f", archiveFileName, options, false, {}, dstPath);
}

std::wstring TCab32::BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options,
                                         const std::wstring& fileName) {
  return BuildCmd(L"", archiveFileName, options, false, {fileName}, L"");
}

}  // namespace vlm
