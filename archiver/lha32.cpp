#include "archiver/lha32.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"
#include "archiver/cmd_opt.h"

namespace vlm {

namespace msg = archiver_messages;

std::wstring TLha32::BuildCmd(const std::wstring& command, const std::wstring& archiveFileName,
                              const TArchiverOptions& options, bool useResFile,
                              const TFileItems& files, const std::wstring& baseArgument) {
  if (command == L"x" && options.jse == kUnsetInt) throw EAssertionFailed(msg::kJseNotSet);
  if (options.jso == kUnsetInt) throw EAssertionFailed(msg::kJsoNotSet);

  TCmdOpt cmd(cfInner);
  cmd.Add(L"-+");
  for (const TOptionSwitch& sw : OptionSwitches()) {
    switch (sw.kind) {
      case TOptionSwitch::skInt: {
        int value = options.*sw.intField;
        // With an owner window the DLL must report progress, which it does only with -n1.
        if (sw.intField == &TArchiverOptions::n && Platform().CallBackEnabled()) value = 1;
        cmd.AddIntOpt(sw.name, value);
        break;
      }
      case TOptionSwitch::skString:
        if (sw.stringField == &TArchiverOptions::w) {
          cmd.AddPath1(sw.name, options.w);
        } else {
          cmd.AddStrOpt(sw.name, options.*sw.stringField);
        }
        break;
      case TOptionSwitch::skList:
        cmd.AddFList2(sw.name, {options.*sw.listField});
        break;
    }
  }
  cmd.Add(options.UserOptions);
  AddArchiveAndBase(cmd, archiveFileName, baseArgument);
  AddFileList(cmd, useResFile, files, options);
  return command + cmd.CmdLine();
}

std::wstring TLha32::BuildUnpackCmd(const std::wstring& archiveFileName,
                                    const TArchiverOptions& options, bool useResFile,
                                    const TFileItems& files, const std::wstring& dstPath) {
  return BuildCmd(L"x", archiveFileName, options, useResFile, files, dstPath);
}

std::wstring TLha32::BuildPackCmd(const std::wstring& archiveFileName,
                                  const TArchiverOptions& options, bool useResFile,
                                  const TFileItems& files, const std::wstring& baseDir) {
  return BuildCmd(L"u", archiveFileName, options, useResFile, files, baseDir);
}

std::wstring TLha32::BuildRemoveItemsCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options, bool useResFile,
                                         const TFileItems& files, const std::wstring&) {
  return BuildCmd(L"d", archiveFileName, options, useResFile, files, L"");
}

std::wstring TLha32::BuildUpdateArchiveCmd(const std::wstring& archiveFileName,
                                           const TArchiverOptions& options, bool useResFile,
                                           const TFileItems& files, const std::wstring& baseDir) {
  return BuildCmd(L"f", archiveFileName, options, useResFile, files, baseDir);
}

std::wstring TLha32::BuildMakeSfxCmd(const std::wstring& archiveFileName,
                                     const TArchiverOptions& options, const std::wstring& dstPath) {
  return BuildCmd(L"s", archiveFileName, options, false, {}, dstPath);
}

std::wstring TLha32::BuildUnpackToMemCmd(const std::wstring& archiveFileName,
                                         const TArchiverOptions& options,
                                         const std::wstring& fileName) {
  return BuildCmd(L"", archiveFileName, options, false, {fileName}, L"");
}

}  // namespace vlm
