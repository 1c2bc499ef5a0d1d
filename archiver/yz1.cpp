#include "archiver/yz1.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"
#include "archiver/cmd_opt.h"
#include "base/files.h"
#include "archiver/sfx_program.h"

namespace vlm {

namespace msg = archiver_messages;

namespace {

// The DLL's -y switch for the options' m: 0 and 2 give 2, 1 gives 1, 9 gives 0, others none.
int DerivedY(int m) {
  switch (m) {
    case 0:
    case 2:
      return 2;
    case 1:
      return 1;
    case 9:
      return 0;
    default:
      return kUnsetInt;
  }
}

}  // namespace

std::wstring TYZ1::BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                            const TArchiverOptions& options, bool useResFile,
                            const TFileItems& files, const std::wstring& baseArgument) const {
  const int y = DerivedY(options.m);
  const int c = y == 2 ? 2 : options.c;
  TCmdOpt cmd(cfInner);
  cmd.Add(L"-+");
  cmd.AddIntOpt(L"c", c);
  cmd.AddIntOpt(L"y", y);
  cmd.AddBolOpt(L"i", options.n >= 1 || Platform().CallBackEnabled());
  cmd.AddIntOpt(L"z", options.p);
  cmd.AddIntOpt(L"x", options.x);
  cmd.Add(options.UserOptions);
  AddArchiveAndBase(cmd, archiveFileName, baseArgument);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TYZ1::BuildUnpackCmd(const std::wstring& archiveFileName,
                                  const TArchiverOptions& options, bool useResFile,
                                  const TFileItems& files, const std::wstring& dstPath) {
  return BuildCmd(L"x", archiveFileName, options, useResFile, files, dstPath);
}

std::wstring TYZ1::BuildPackCmd(const std::wstring& archiveFileName,
                                const TArchiverOptions& options, bool useResFile,
                                const TFileItems& files, const std::wstring& baseDir) {
  return BuildCmd(L"c", archiveFileName, options, useResFile, files, baseDir);
}

std::wstring TYZ1::MakeSfx(const std::wstring& archiveFileName, const TArchiverOptions& options,
                           const std::wstring& dstPath) {
  std::optional<std::wstring> stub;
  if (options.gw <= 0) {
    stub = Platform().SearchExecutablePath(L"yzdos16.sfx");
    if (!stub) {
      throw EArchiver(std::wstring(msg::kYz1DosSfxNeeds) + L"yzdos16.sfx" +
                      msg::kYz1DosSfxNeedsTail);
    }
  } else {
    stub = Platform().SearchExecutablePath(L"yzw32cui.sfx");
    if (!stub) stub = Platform().SearchExecutablePath(L"yzdec.exe");
    if (!stub) throw EArchiver(msg::kYz1Win32SfxNeeds);
  }

  const std::wstring program = SfxProgramPath(archiveFileName, L".exe", dstPath);
  CheckProgramIsNotArchive(program, archiveFileName);
  TReplacingFile out(program);
  out.AppendFile(*stub);
  const std::uint64_t size = out.AppendFile(archiveFileName);
  if (size > 0xFFFFFFFFu) {
    throw CannotCreateFile(program);
  }
  const char trailer[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
  out.Append(std::string_view(trailer, 4));
  out.Commit();
  return program;
}

}  // namespace vlm
