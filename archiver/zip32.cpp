#include "archiver/zip32.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"
#include "archiver/cmd_opt.h"
#include "base/files.h"
#include "archiver/sfx_program.h"

namespace vlm {

namespace msg = archiver_messages;

std::wstring ZipNameFilter(const std::wstring& name) {
  std::wstring out;
  out.reserve(name.size() + 4);
  for (size_t i = 0; i < name.size(); ++i) {
    const wchar_t c = name[i];
    if (i == 0 && (c == L'-' || c == L'@')) {
      out += L'[';
      out += c;
      out += L']';
    } else if (c == L'\\') {
      out += L'/';
    } else if (c == L'[') {
      out += L"[[]";
    } else {
      out += c;
    }
  }
  return out;
}

std::wstring TZip32::BuildUnZipCmd(const std::wstring& command, const std::wstring& archiveFileName,
                                   const TArchiverOptions& options, bool useResFile,
                                   const TFileItems& files,
                                   const std::wstring& baseArgument) const {
  TCmdOpt cmd(cfInner, ZipNameFilter);
  if (options.c == 1) cmd.Add(L"-o");
  if (options.n >= 1 || Platform().CallBackEnabled()) cmd.Add(L"--i");
  if (options.x == 0) cmd.Add(L"-j");
  cmd.Add(options.UserOptions);
  AddArchiveAndBase(cmd, archiveFileName, baseArgument);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TZip32::BuildLmZipCmd(const std::wstring& command, const std::wstring& archiveFileName,
                                   const TArchiverOptions& options, bool useResFile,
                                   const TFileItems& files) const {
  TCmdOpt cmd(cfInner);
  if (options.c == 1) cmd.Add(L"-o");
  if (options.x == 0) cmd.Add(L"-j");
  cmd.Add(options.UserOptions);
  AddArchiveAndBase(cmd, archiveFileName, L"");
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TZip32::BuildZip32JCmd(const std::wstring& command,
                                    const std::wstring& archiveFileName,
                                    const TArchiverOptions& options, bool useResFile,
                                    const TFileItems& files,
                                    const std::wstring& baseArgument) const {
  TCmdOpt cmd(cfInner, ZipNameFilter);
  if (options.a >= 1) cmd.Add(L"-S");
  if (options.a < 2) cmd.Add(L"-D");
  if (options.l >= 1) cmd.Add(L"-v");
  if (options.n >= 1) cmd.Add(L"-q");
  if (options.r >= 1) cmd.Add(L"-r");
  if (options.n >= 1) cmd.Add(L"-o");
  if (options.u >= 1) cmd.Add(L"-u");
  if (options.x == 0) cmd.Add(L"-j");
  if (options.jc >= 1) cmd.Add(L"-FF");
  if (options.ji >= 1) cmd.Add(L"-k");
  cmd.AddIntOpt(L"", options.jm);
  if (options.gd >= 1) cmd.Add(L"-J");
  cmd.Add(options.UserOptions);
  AddArchiveAndBase(cmd, archiveFileName, baseArgument);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TZip32::BuildUnpackCmd(const std::wstring& archiveFileName,
                                    const TArchiverOptions& options, bool useResFile,
                                    const TFileItems& files, const std::wstring& dstPath) {
  if (!Platform().ZipDllLoaded(TZipModule::UnZip32) &&
      !Platform().ZipDllLoaded(TZipModule::LmZip32)) {
    throw EArchiver(msg::kZipUnpackNeedsDll);
  }
  return BuildUnZipCmd(L"-x", archiveFileName, options, useResFile, files, dstPath);
}

std::wstring TZip32::BuildPackCmd(const std::wstring& archiveFileName,
                                  const TArchiverOptions& options, bool useResFile,
                                  const TFileItems& files, const std::wstring& baseDir) {
  if (Platform().ZipDllLoaded(TZipModule::Zip32J)) {
    return BuildZip32JCmd(L"", archiveFileName, options, useResFile, files, baseDir);
  }
  if (Platform().ZipDllLoaded(TZipModule::LmZip32)) {
    return BuildLmZipCmd(L"-ru", archiveFileName, options, useResFile, files);
  }
  throw EArchiver(msg::kZipPackNeedsDll);
}

std::wstring TZip32::BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options, bool useResFile,
                                         const TFileItems& files, const std::wstring&) {
  return BuildZip32JCmd(L"-d", archiveFileName, options, useResFile, files, L"");
}

std::wstring TZip32::BuildUpdateArchiveCmd(const std::wstring& archiveFileName,
                                           const TArchiverOptions& options, bool useResFile,
                                           const TFileItems& files, const std::wstring& baseDir) {
  return BuildZip32JCmd(L"-f", archiveFileName, options, useResFile, files, baseDir);
}

std::wstring TZip32::BuildMakeSfxCmd(const std::wstring& archiveFileName,
                                     const TArchiverOptions& options, const std::wstring& dstPath) {
  if (!Platform().ZipDllLoaded(TZipModule::Zip32J)) {
    throw ESfxNoRequiredFile(L"zip", L"", L"ZIP32J.DLL");
  }
  const bool dos = options.gw <= 0;
  const std::wstring module = dos ? L"sfx16.dat" : L"sfx32gui.dat";
  const std::wstring kind = dos ? L"DOS" : L"Win32";
  const std::optional<std::wstring> stub = Platform().SearchExecutablePath(module);
  if (!stub) throw ESfxNoRequiredFile(L"zip", kind, module);

  const std::wstring program = SfxProgramPath(archiveFileName, L".EXE", dstPath);
  CheckProgramIsNotArchive(program, archiveFileName);
  TReplacingFile out(program);
  out.AppendFile(*stub);
  out.AppendFile(archiveFileName);
  out.Commit();
  return L"-A " + program;
}

std::wstring TZip32::BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options,
                                         const std::wstring& fileName) {
  return BuildUnZipCmd(L"", archiveFileName, options, false, {fileName}, L"");
}

}  // namespace vlm
