#include <gtest/gtest.h>

#include "base/files.h"
#include "archiver/archiver_errors.h"
#include "archiver/archiver_factory.h"
#include "archiver/archiver_messages.h"
#include "archiver/seven_zip32.h"
#include "archiver/yz1.h"
#include "archiver/zip32.h"
#include "fake_platform.h"
#include "base/ansi_text.h"
#include "tests/support/scratch_folder.h"

namespace vlm {
namespace {

namespace msg = archiver_messages;
using test::FakePlatform;
using test::TScratchFolder;

// A folder with an archive and every stub module, each holding its own name as content.
class SelfExtracting : public ::testing::Test {
 protected:
  SelfExtracting() {
    archive = temp.Write(L"a.arc", "ARCHIVE");
    for (const wchar_t* module : {L"sfx16.dat", L"sfx32gui.dat", L"kmtarsef.exe", L"yzdos16.sfx",
                                  L"yzw32cui.sfx", L"yzdec.exe", L"7z.sfx", L"7zS.sfx"}) {
      platform.searchPath[module] = temp.Write(module, ToUtf8(module) + "|");
    }
  }

  // Runs the self-extracting operation the way the runtime does; answers the program's path.
  std::wstring MakeSfx(TArchiverCommands& cmds, const TArchiverOptions& options,
                       const std::wstring& dstPath = L"") {
    if (cmds.MakesSfxWithoutDll()) return cmds.MakeSfx(archive, options, dstPath);
    const std::wstring command = cmds.BuildMakeSfxCmd(archive, options, dstPath);
    EXPECT_EQ(command.substr(0, 3), L"-A ");
    return command.substr(3);
  }

  TScratchFolder temp;
  FakePlatform platform;
  std::wstring archive;
};

TEST_F(SelfExtracting, StubThenArchiveUnderTheProgramName) {
  struct Case {
    const char* what;
    TArchiverType type;
    int gw;
    std::vector<std::wstring> missing;  // modules taken off the search path
    const wchar_t* program;
    std::string content;
  };
  const Case cases[] = {
      {"ZIP DOS", atZip, -1, {}, L"a.EXE", "sfx16.dat|ARCHIVE"},
      {"ZIP Win32", atZip, 1, {}, L"a.EXE", "sfx32gui.dat|ARCHIVE"},
      {"TAR", atTar, -1, {}, L"a.EXE", "kmtarsef.exe|ARCHIVE"},
      {"TGZ", atTgz, 1, {}, L"a.EXE", "kmtarsef.exe|ARCHIVE"},
      {"YZ1 DOS", atYz1, 0, {}, L"a.exe", std::string("yzdos16.sfx|ARCHIVE\0\0\0\x07", 23)},
      {"YZ1 Win32", atYz1, 1, {}, L"a.exe", std::string("yzw32cui.sfx|ARCHIVE\0\0\0\x07", 24)},
      {"YZ1 Win32 fallback",
       atYz1,
       1,
       {L"yzw32cui.sfx"},
       L"a.exe",
       std::string("yzdec.exe|ARCHIVE\0\0\0\x07", 21)},
      {"7z from the search path", at7z, 1, {}, L"a.exe", "7z.sfx|ARCHIVE"},
  };
  for (const Case& c : cases) {
    FakePlatform p = platform;
    for (const auto& module : c.missing) p.searchPath.erase(module);
    auto cmds = CreateArchiverCommands(c.type, p);
    TArchiverOptions options;
    options.gw = static_cast<std::int8_t>(c.gw);
    const std::wstring program = MakeSfx(*cmds, options);
    EXPECT_EQ(program, temp.File(c.program)) << c.what;
    EXPECT_EQ(test::ReadFile(program), c.content) << c.what;
    EXPECT_EQ(test::ReadFile(archive), "ARCHIVE") << c.what;  // the archive stays
  }
}

TEST_F(SelfExtracting, ProgramGoesIntoDstPathAndReplacesAnOldOne) {
  const TScratchFolder dst;
  dst.Write(L"a.EXE", "an older, longer program");
  TZip32 zip(platform);
  TArchiverOptions options;
  EXPECT_EQ(zip.BuildMakeSfxCmd(archive, options, dst.Folder()), L"-A " + dst.Folder() + L"a.EXE");
  EXPECT_EQ(test::ReadFile(dst.File(L"a.EXE")), "sfx16.dat|ARCHIVE");
  EXPECT_EQ(dst.Names().size(), 1u);
}

TEST_F(SelfExtracting, Yz1TrailerIsTheArchiveLengthBigEndian) {
  archive = temp.Write(L"big.yz1", std::string(258, 'x'));
  TArchiverOptions options;
  options.gw = 1;
  const std::string program = test::ReadFile(TYZ1(platform).MakeSfx(archive, options, L""));
  ASSERT_EQ(program.size(), std::string("yzw32cui.sfx|").size() + 258 + 4);
  EXPECT_EQ(program.substr(program.size() - 4), std::string("\x00\x00\x01\x02", 4));
}

TEST_F(SelfExtracting, SevenZipPrefersTheInstallFolderAndTakesTheConfigFile) {
  const TScratchFolder install;
  const std::wstring installed = install.Write(L"7zS.sfx", "installed 7zS|");
  platform.registry[L"SOFTWARE\\7-ZIP|Path"] = install.Folder();
  platform.files = {installed};
  TSevenZip32 sevenZip(platform);
  sevenZip.SfxModule = L"7zS.sfx";
  sevenZip.SfxConfigFile = temp.Write(L"config.txt", "CONFIG|");
  TArchiverOptions options;
  options.gw = 1;
  EXPECT_EQ(test::ReadFile(sevenZip.MakeSfx(archive, options, L"")),
            "installed 7zS|CONFIG|ARCHIVE");

  platform.files.clear();  // the registry names a folder without the module
  sevenZip.SfxConfigFile.clear();
  EXPECT_EQ(test::ReadFile(sevenZip.MakeSfx(archive, options, L"")), "7zS.sfx|ARCHIVE");
}

TEST_F(SelfExtracting, MissingStubsAndUnsupportedKinds) {
  struct Case {
    const char* what;
    TArchiverType type;
    int gw;
    std::vector<std::wstring> missing;
    std::set<TZipModule> zipDlls;
    std::string message;     // UTF-8
    std::wstring sfxModule;  // for ESfxNoRequiredFile
  };
  const std::set<TZipModule> allZip = {TZipModule::UnZip32, TZipModule::Zip32J,
                                       TZipModule::LmZip32};
  const Case cases[] = {
      {"ZIP without ZIP32J",
       atZip,
       1,
       {},
       {TZipModule::UnZip32, TZipModule::LmZip32},
       "zip 書庫からの自己解凍書庫の作成には 'ZIP32J.DLL' ファイルが必要です。",
       L"ZIP32J.DLL"},
      {"ZIP DOS stub missing",
       atZip,
       0,
       {L"sfx16.dat"},
       allZip,
       "zip 書庫からのDOS自己解凍書庫の作成には 'sfx16.dat' ファイルが必要です。",
       L"sfx16.dat"},
      {"ZIP Win32 stub missing",
       atZip,
       1,
       {L"sfx32gui.dat"},
       allZip,
       "zip 書庫からのWin32自己解凍書庫の作成には 'sfx32gui.dat' ファイルが必要です。",
       L"sfx32gui.dat"},
      {"TAR stub missing",
       atTar,
       1,
       {L"kmtarsef.exe"},
       allZip,
       "tar/tgz 書庫からの自己解凍書庫の作成には 'kmtarsef.exe' ファイルが必要です。",
       L"kmtarsef.exe"},
      {"BZ2 never", atBZ2, 1, {}, allZip, "BZ2 形式書庫は自己解凍形式にできません。", L""},
      {"YZ1 DOS stub missing",
       atYz1,
       -1,
       {L"yzdos16.sfx"},
       allZip,
       "yz1 書庫からのDOS自己解凍書庫の作成には yzdos16.sfx が必要です。",
       L""},
      {"YZ1 Win32 stubs missing",
       atYz1,
       1,
       {L"yzw32cui.sfx", L"yzdec.exe"},
       allZip,
       "yz1 書庫からのWin32自己解凍書庫の作成には yzw32cui.sfx か yzdec.exe が必要です。",
       L""},
      {"7z 16-bit", at7z, 0, {}, allZip, "16bit SFX を作成することはできません。", L""},
      {"7z module missing",
       at7z,
       1,
       {L"7z.sfx"},
       allZip,
       "7z 書庫からの自己解凍書庫の作成には '7z.sfx' ファイルが必要です。",
       L"7z.sfx"},
  };
  for (const Case& c : cases) {
    FakePlatform p = platform;
    p.zipDlls = c.zipDlls;
    for (const auto& module : c.missing) p.searchPath.erase(module);
    auto cmds = CreateArchiverCommands(c.type, p);
    TArchiverOptions options;
    options.gw = static_cast<std::int8_t>(c.gw);
    try {
      MakeSfx(*cmds, options);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EArchiver& e) {
      EXPECT_EQ(e.what(), c.message) << c.what;
      auto* sfx = dynamic_cast<const ESfxNoRequiredFile*>(&e);
      EXPECT_EQ(sfx ? sfx->SfxModuleName() : L"", c.sfxModule) << c.what;
    }
  }
  EXPECT_EQ(temp.Names().size(), 9u) << "no program written";
}

TEST_F(SelfExtracting, AFailedWriteLeavesNoHalfProgram) {
  const std::wstring program = temp.Write(L"gone.EXE", "the previous program");
  TArchiverOptions options;
  TZip32 zip(platform);
  // The archive is missing: the stub has been copied when the failure comes.
  EXPECT_THROW(zip.BuildMakeSfxCmd(temp.File(L"gone.arc"), options, L""), EFileError);
  EXPECT_EQ(test::ReadFile(program), "the previous program");
  // The destination folder is missing.
  EXPECT_THROW(zip.BuildMakeSfxCmd(archive, options, temp.File(L"missing")), EFileError);
  EXPECT_EQ(temp.Names().size(), 10u) << "archive, eight stubs, the previous program";
}

TEST_F(SelfExtracting, AnArchiveNamedLikeItsProgramIsNotReplaced) {
  const std::wstring exeArchive = temp.Write(L"b.exe", "ARCHIVE");
  TArchiverOptions options;
  options.gw = 1;
  for (TArchiverType type : {atZip, atTar, atYz1, at7z}) {
    auto cmds = CreateArchiverCommands(type, platform);
    archive = type == atZip || type == atTar ? temp.Write(L"c.EXE", "ARCHIVE") : exeArchive;
    EXPECT_THROW(MakeSfx(*cmds, options), EFileError) << type;
    EXPECT_EQ(test::ReadFile(archive), "ARCHIVE") << type;
  }
}

}  // namespace
}  // namespace vlm
