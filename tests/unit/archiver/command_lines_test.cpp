#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "archiver/archiver_errors.h"
#include "archiver/archiver_factory.h"
#include "archiver/archiver_messages.h"
#include "archiver/lha32.h"
#include "archiver/zip32.h"
#include "fake_platform.h"
#include "base/ansi_text.h"
#include "tests/support/scratch_folder.h"

namespace vlm {
namespace {

namespace msg = archiver_messages;
using test::FakePlatform;

enum Op { opUnpack, opPack, opRemove, opUpdate, opSfx, opToMem };

// One command as the runtime asks for it: `target` is DstPath or BaseDir, or the member name
// for opToMem. The response file is allowed for the operation's own usage bit.
std::wstring Build(TArchiverCommands& cmds, Op op, const std::wstring& archive,
                   const TArchiverOptions& options, const TFileItems& files,
                   const std::wstring& target) {
  switch (op) {
    case opUnpack:
      return cmds.BuildUnpackCmd(archive, options, UsesResFile(options, ruOnUnpack), files, target);
    case opPack:
      return cmds.BuildPackCmd(archive, options, UsesResFile(options, ruOnPack), files, target);
    case opRemove:
      return cmds.BuildRemoveItemsCmd(archive, options, UsesResFile(options, ruOnRemoveItem), files,
                                      target);
    case opUpdate:
      return cmds.BuildUpdateArchiveCmd(archive, options, UsesResFile(options, ruOnUpdate), files,
                                        target);
    case opSfx:
      return cmds.BuildMakeSfxCmd(archive, options, target);
    case opToMem:
      return cmds.BuildUnpackToMemCmd(archive, options, target);
  }
  return L"";
}

struct Case {
  const char* what;
  TArchiverType type;
  Op op;
  std::function<void(TArchiverOptions&)> set;
  std::wstring archive;
  std::wstring target;
  std::wstring expected;
  bool callBack = false;
  std::set<TZipModule> zipDlls = {TZipModule::UnZip32, TZipModule::Zip32J};
  TFileItems files = {std::wstring(L"f")};
};

void RunCase(const Case& c) {
  FakePlatform platform;
  platform.callBack = c.callBack;
  platform.zipDlls = c.zipDlls;
  auto cmds = CreateArchiverCommands(c.type, platform);
  ASSERT_TRUE(cmds) << c.what;
  TArchiverOptions options;
  if (c.set) c.set(options);
  try {
    EXPECT_EQ(ToUtf8(Build(*cmds, c.op, c.archive, options, c.files, c.target)), ToUtf8(c.expected))
        << c.what;
  } catch (const std::exception& e) {
    ADD_FAILURE() << c.what << ": " << e.what();
  }
}

std::vector<std::wstring> Tokens(const std::wstring& line) {
  std::vector<std::wstring> tokens;
  std::wstring::size_type start = 0, space;
  while ((space = line.find(L' ', start)) != std::wstring::npos) {
    tokens.push_back(line.substr(start, space - start));
    start = space + 1;
  }
  tokens.push_back(line.substr(start));
  return tokens;
}

// The stored configuration of the settings form's archive component, after the compose-window
// assistant set its values for one dropped file and the file collector adjusted them.
TArchiverOptions DroppedFileOptions() {
  TArchiverOptions o;
  for (auto field : {&TArchiverOptions::w, &TArchiverOptions::jo, &TArchiverOptions::job,
                     &TArchiverOptions::jz, &TArchiverOptions::gr, &TArchiverOptions::gyd,
                     &TArchiverOptions::gye, &TArchiverOptions::gyt, &TArchiverOptions::gyw}) {
    o.*field = L"-1";
  }
  o.IncludeExtraStreams = false;
  o.x = 0, o.r = 0, o.jso = 1, o.n = 1;            // the assistant
  o.r = -1, o.jo = o.job = kUnsetString, o.p = 1;  // the collector
  return o;
}

TEST(CommandLines, LhaPackOfADroppedFile) {
  FakePlatform platform;
  const std::wstring archive = FromUtf8("C:\\Temp\\報告書.lzh");
  const std::wstring file = FromUtf8("C:\\Users\\u\\Desktop\\報告書.pdf");
  const std::wstring line =
      TLha32(platform).BuildPackCmd(archive, DroppedFileOptions(), true, {file}, L"");
  const std::vector<std::wstring> expected = {L"u",
                                              L"-+",
                                              L"-n1",
                                              L"-p1",
                                              L"\"-w-1\\\"",
                                              L"-x0",
                                              L"-jso1",
                                              L"\"-jz-1\"",
                                              L"\"-gr-1\"",
                                              L"\"-gyd-1\"",
                                              L"\"-gye-1\"",
                                              L"\"-gyt-1\"",
                                              L"\"-gyw-1\"",
                                              L"",
                                              L"\"" + archive + L"\"",
                                              L"\"" + file + L"\"",
                                              L""};
  EXPECT_EQ(Tokens(line), expected) << ToUtf8(line);
  EXPECT_EQ(FromAnsi(CommandLineAnsi(line)), line);
}

TEST(CommandLines, ZipPackOfADroppedFileWithZip32J) {
  FakePlatform platform;
  platform.zipDlls = {TZipModule::Zip32J};
  const std::wstring line =
      TZip32(platform).BuildPackCmd(L"C:\\Temp\\report.zip", DroppedFileOptions(), true,
                                    {std::wstring(L"C:\\Users\\u\\r.pdf")}, L"");
  const std::vector<std::wstring> expected = {
      L"", L"-D", L"-q", L"-o", L"-j", L"", L"\"C:\\Temp\\report.zip\"", L"\"C:/Users/u/r.pdf\"",
      L""};
  EXPECT_EQ(Tokens(line), expected) << ToUtf8(line);
}

// Members of dropped folders named "-wx" and "@list", and one whose "-" is not the first
// character.
const TFileItems kSwitchLikeNames = {std::wstring(L"-wx\\a.txt"), std::wstring(L"@list\\b.txt"),
                                     std::wstring(L"x\\-y")};

TEST(CommandLines, Lha) {
  const Case cases[] = {
      {"unpack", atLha, opUnpack, [](auto& o) { o.jse = 1, o.jso = 1; }, L"a.lzh", L"C:\\dst",
       L"x -+ -jse1 -jso1  \"a.lzh\" \"C:\\dst\\\" \"f\" "},
      {"pack with owner window forces -n1, jx one token per mask", atLha, opPack,
       [](auto& o) {
         o.jso = 1, o.jx = {L"*.bak", L"", L"*.tmp"};
       },
       L"a.lzh", L"C:\\base",
       L"u -+ -n1 -jso1 \"-jx*.bak\" \"-jx*.tmp\"  \"a.lzh\" \"C:\\base\\\" \"f\" ", true},
      {"owner window overrides n 0", atLha, opPack, [](auto& o) { o.jso = 1, o.n = 0; }, L"a", L"",
       L"u -+ -n1 -jso1  \"a\" \"f\" ", true},
      {"switches in declaration order", atLha, opPack,
       [](auto& o) {
         o.a = 0, o.m = 5, o.t = 2, o.x = 1, o.jm = 2, o.jo = L"20240101", o.job = L"l20241231";
         o.jso = 1, o.gw = 1, o.gyx = 0, o.jz = L"", o.UserOptions = L"-P pw";
         o.UserFileList = L"extra";
       },
       L"a.lzh", L"",
       L"u -+ -a0 -m5 -t2 -x1 -jm2 \"-jo20240101\" \"-jobl20241231\" -jso1 "
       L"\"-jz\" -gw1 -gyx0 -P pw \"a.lzh\" \"f\" extra"},
      {"remove has no base", atLha, opRemove, [](auto& o) { o.jso = 1; }, L"a.lzh", L"C:\\b",
       L"d -+ -jso1  \"a.lzh\" \"f\" "},
      {"update", atLha, opUpdate, [](auto& o) { o.jso = 1; }, L"a.lzh", L"C:\\b",
       L"f -+ -jso1  \"a.lzh\" \"C:\\b\\\" \"f\" "},
      {"self-extracting: no files", atLha, opSfx, [](auto& o) { o.jso = 1; }, L"a.lzh",
       L"C:\\dst\\", L"s -+ -jso1  \"a.lzh\" \"C:\\dst\\\" "},
      {"to memory: no word, the member as file", atLha, opToMem, [](auto& o) { o.jso = 1; },
       L"a.lzh", L"d\\m.txt", L" -+ -jso1  \"a.lzh\" \"d\\m.txt\" "},
      {"ARJ takes the LHA line", atArj, opUnpack, [](auto& o) { o.jse = 0, o.jso = 1; }, L"a.arj",
       L"", L"x -+ -jse0 -jso1  \"a.arj\" \"f\" "},
      {"names that would read as a switch or a response file: from the current folder",
       atLha,
       opPack,
       [](auto& o) { o.jso = 1; },
       L"-a.lzh",
       L"C:\\b",
       L"u -+ -jso1  \".\\-a.lzh\" \"C:\\b\\\" \".\\-wx\\a.txt\" \".\\@list\\b.txt\" \"x\\-y\" ",
       false,
       {},
       kSwitchLikeNames},
  };
  for (const Case& c : cases) RunCase(c);
}

TEST(CommandLines, Zip) {
  const std::set<TZipModule> lmOnly = {TZipModule::LmZip32};
  const TFileItems names = {std::wstring(L"dir\\[1]\\-x"), std::wstring(L"-lead.txt")};
  const Case cases[] = {
      {"unpack: names filtered, archive and folder not",
       atZip,
       opUnpack,
       [](auto& o) { o.c = 1, o.n = 1, o.x = 0; },
       L"C:\\z\\a.zip",
       L"C:\\dst",
       L"-x -o --i -j  \"C:\\z\\a.zip\" \"C:\\dst\\\" \"dir/[[]1]/-x\" \"[-]lead.txt\" ",
       false,
       {TZipModule::UnZip32},
       names},
      {"unpack: owner window gives --i, c 2 no -o", atZip, opUnpack, [](auto& o) { o.c = 2; },
       L"a.zip", L"", L"-x --i  \"a.zip\" \"f\" ", true},
      {"unpack with LMZIP32 only", atZip, opUnpack, nullptr, L"a.zip", L"", L"-x  \"a.zip\" \"f\" ",
       false, lmOnly},
      {"pack, a unset: -D without -S", atZip, opPack, nullptr, L"a.zip", L"C:\\b",
       L" -D  \"a.zip\" \"C:\\b\\\" \"f\" "},
      {"pack, a 2: -S without -D", atZip, opPack, [](auto& o) { o.a = 2; }, L"a.zip", L"",
       L" -S  \"a.zip\" \"f\" "},
      {"pack, every ZIP32J switch", atZip, opPack,
       [](auto& o) {
         o.a = 1, o.l = 1, o.n = 1, o.r = 1, o.u = 1, o.x = 0, o.jc = 1, o.ji = 1, o.jm = 9;
         o.gd = 1, o.UserOptions = L"-P pw";
       },
       L"a.zip", L"C:\\b",
       L" -S -D -v -q -r -o -u -j -FF -k -9 -J -P pw \"a.zip\" \"C:\\b\\\" \"f\" "},
      {"pack with LMZIP32 only: -ru, no base, no filter", atZip, opPack,
       [](auto& o) { o.c = 1, o.x = 0, o.a = 2; }, L"a.zip", L"C:\\b",
       L"-ru -o -j  \"a.zip\" \"dir\\[1]\\-x\" \".\\-lead.txt\" ", false, lmOnly, names},
      {"remove: no base",
       atZip,
       opRemove,
       nullptr,
       L"a.zip",
       L"C:\\b",
       L"-d -D  \"a.zip\" \"d/f\" ",
       false,
       {TZipModule::Zip32J},
       {std::wstring(L"d\\f")}},
      {"update", atZip, opUpdate, nullptr, L"a.zip", L"C:\\b",
       L"-f -D  \"a.zip\" \"C:\\b\\\" \"f\" "},
      {"to memory", atZip, opToMem, nullptr, L"a.zip", L"d\\m.txt", L"  \"a.zip\" \"d/m.txt\" "},
      {"pack: a leading - or @ as a one-character class",
       atZip,
       opPack,
       nullptr,
       L"C:\\z\\a.zip",
       L"C:\\b",
       L" -D  \"C:\\z\\a.zip\" \"C:\\b\\\" \"[-]wx/a.txt\" \"[@]list/b.txt\" \"x/-y\" ",
       false,
       {TZipModule::Zip32J},
       kSwitchLikeNames},
      {"unpack: the same class matches the stored member",
       atZip,
       opUnpack,
       nullptr,
       L"C:\\z\\a.zip",
       L"C:\\dst",
       L"-x  \"C:\\z\\a.zip\" \"C:\\dst\\\" \"[-]wx/a.txt\" \"[@]list/b.txt\" \"x/-y\" ",
       false,
       {TZipModule::UnZip32},
       kSwitchLikeNames},
      {"pack with LMZIP32 only: no filter, so from the current folder", atZip, opPack, nullptr,
       L"-a.zip", L"", L"-ru  \".\\-a.zip\" \".\\-wx\\a.txt\" \".\\@list\\b.txt\" \"x\\-y\" ",
       false, lmOnly, kSwitchLikeNames},
  };
  for (const Case& c : cases) RunCase(c);
}

TEST(CommandLines, CabTarRarBgaYz1SevenZip) {
  const Case cases[] = {
      {"CAB unpack: absolute archive, every switch", atCab, opUnpack,
       [](auto& o) { o.c = 1, o.n = 1, o.r = 1, o.w = L"C:\\tmp", o.x = 0, o.ji = 1; }, L"a.cab",
       L"C:\\dst", L"-x -o -i -r \"-hC:\\tmp\\\" -j -q  \"C:\\work\\a.cab\" \"C:\\dst\\\" \"f\" "},
      {"CAB pack with owner window", atCab, opPack, nullptr, L"a.cab", L"C:\\b",
       L"-a -i  \"a.cab\" \"C:\\b\\\" \"f\" ", true},
      {"CAB self-extracting", atCab, opSfx, nullptr, L"a.cab", L"C:\\dst",
       L"-f  \"a.cab\" \"C:\\dst\\\" "},
      {"CAB to memory", atCab, opToMem, nullptr, L"a.cab", L"m", L"  \"a.cab\" \"m\" "},

      {"TAR unpack, quotes around values only", atTar, opUnpack,
       [](auto& o) { o.a = 0, o.n = 1, o.o = 1, o.p = 1, o.x = 0; }, L"a.tar", L"C:\\dst",
       L"x -I --display-dialog=0 -g --check-all-path=1 --use-directory=0  -f \"a.tar\" "
       L"-o \"C:\\dst\\\" \"f\" "},
      {"TGZ pack with owner window, jm unset", atTgz, opPack, [](auto& o) { o.a = 1, o.n = 1; },
       L"a.tgz", L"C:\\b", L"c -AH -z  -f \"a.tgz\" -o \"C:\\b\\\" \"f\" ", true},
      {"TGZ level", atTgz, opPack, [](auto& o) { o.jm = 9; }, L"a.tgz", L"",
       L"c -z9  -f \"a.tgz\" \"f\" "},
      {"BZ2", atBZ2, opPack, nullptr, L"a.bz2", L"", L"c -B  -f \"a.bz2\" \"f\" "},
      {"BZ2 level", atBZ2, opPack, [](auto& o) { o.jm = 3; }, L"a.bz2", L"",
       L"c -B3  -f \"a.bz2\" \"f\" "},
      {"TAR without archive name", atTar, opPack, nullptr, L"", L"", L"c  \"f\" "},
      {"TAR to memory", atTar, opToMem, nullptr, L"a.tar", L"m", L"  -f \"a.tar\" \"m\" "},

      {"RAR unpack keeping folders", atRar, opUnpack, [](auto& o) { o.m = 1, o.p = 1; }, L"a.rar",
       L"C:\\dst", L"-x -u -y -s  \"a.rar\" \"C:\\dst\\\" \"f\" "},
      {"RAR unpack flat", atRar, opUnpack, [](auto& o) { o.x = 0, o.c = 1; }, L"a.rar", L"",
       L"-e  \"a.rar\" \"f\" "},
      {"RAR to memory", atRar, opToMem, nullptr, L"a.rar", L"m", L" -u  \"a.rar\" \"m\" "},

      {"BGA unpack defaults", atBga, opUnpack, nullptr, L"a.gza", L"C:\\dst",
       L"x -n -j  \"a.gza\" \"C:\\dst\\\" \"f\" "},
      {"BGA pack, every switch", atBga, opPack,
       [](auto& o) { o.a = 1, o.c = 1, o.n = 1, o.r = 1, o.x = 1, o.jm = 5; }, L"a.gza", L"C:\\b",
       L"a -a -o -i -r -l5  \"a.gza\" \"C:\\b\\\" \"f\" "},
      {"BGA remove: no base", atBga, opRemove, nullptr, L"a.gza", L"C:\\b",
       L"d -n -i -j  \"a.gza\" \"f\" ", true},
      {"BGA self-extracting", atBga, opSfx, nullptr, L"a.gza", L"C:\\dst",
       L"s -n -j  \"a.gza\" \"C:\\dst\\\" "},

      {"YZ1 m 0: -c2 -y2 whatever c", atYz1, opUnpack, [](auto& o) { o.m = 0, o.c = 5; }, L"a.yz1",
       L"C:\\dst", L"x -+ -c2 -y2  \"a.yz1\" \"C:\\dst\\\" \"f\" "},
      {"YZ1 m 1", atYz1, opPack, [](auto& o) { o.m = 1, o.c = 3, o.n = 1, o.p = 1, o.x = 0; },
       L"a.yz1", L"C:\\b", L"c -+ -c3 -y1 -i -z1 -x0  \"a.yz1\" \"C:\\b\\\" \"f\" "},
      {"YZ1 m 9", atYz1, opPack, [](auto& o) { o.m = 9; }, L"a.yz1", L"",
       L"c -+ -y0 -i  \"a.yz1\" \"f\" ", true},
      {"YZ1 m 5: no y", atYz1, opPack, [](auto& o) { o.m = 5; }, L"a.yz1", L"",
       L"c -+  \"a.yz1\" \"f\" "},

      {"7z unpack, every switch", at7z, opUnpack,
       [](auto& o) {
         o.x = 1, o.m = 2, o.n = 1, o.r = 2, o.w = L"C:\\w", o.y = 1, o.jx = {L"*.bak"};
       },
       L"a.7z", L"C:\\dst",
       L"x -aou -ms=off -hide -r \"-wC:\\w\\\" -y \"-x!*.bak\" \"-oC:\\dst\\\"  \"a.7z\" \"f\" "},
      {"7z unpack x 0: e, no overwrite switch", at7z, opUnpack, [](auto& o) { o.x = 0, o.c = 1; },
       L"a.7z", L"C:\\dst", L"e -ms=off \"-oC:\\dst\\\"  \"a.7z\" \"f\" "},
      {"7z unpack jn", at7z, opUnpack, [](auto& o) { o.jn = 1, o.c = 1; }, L"a.7z", L"",
       L"x -aos -ms=off  \"a.7z\" \"f\" "},
      {"7z unpack c", at7z, opUnpack, [](auto& o) { o.c = 1; }, L"a.7z", L"",
       L"x -aoa -ms=off  \"a.7z\" \"f\" "},
      {"7z pack: never an overwrite switch", at7z, opPack, [](auto& o) { o.r = 0, o.c = 1; },
       L"a.7z", L"C:\\b", L"u -ms=off -r- \"-oC:\\b\\\"  \"a.7z\" \"f\" "},
      {"7z remove: no base", at7z, opRemove, nullptr, L"a.7z", L"C:\\b",
       L"d -ms=off  \"a.7z\" \"f\" "},

      // Names that would read as a switch or a response file, from the current folder.
      {"CAB pack",
       atCab,
       opPack,
       nullptr,
       L"a.cab",
       L"C:\\b",
       L"-a  \"a.cab\" \"C:\\b\\\" \".\\-wx\\a.txt\" \".\\@list\\b.txt\" \"x\\-y\" ",
       false,
       {},
       kSwitchLikeNames},
      {"TAR pack: the archive after -f is a value",
       atTar,
       opPack,
       nullptr,
       L"-a.tar",
       L"C:\\b",
       L"c  -f \"-a.tar\" -o \"C:\\b\\\" \".\\-wx\\a.txt\" \".\\@list\\b.txt\" \"x\\-y\" ",
       false,
       {},
       kSwitchLikeNames},
      {"RAR unpack",
       atRar,
       opUnpack,
       nullptr,
       L"a.rar",
       L"C:\\dst",
       L"-x -u  \"a.rar\" \"C:\\dst\\\" \".\\-wx\\a.txt\" \".\\@list\\b.txt\" \"x\\-y\" ",
       false,
       {},
       kSwitchLikeNames},
      {"BGA pack",
       atBga,
       opPack,
       nullptr,
       L"a.gza",
       L"C:\\b",
       L"a -n -j  \"a.gza\" \"C:\\b\\\" \".\\-wx\\a.txt\" \".\\@list\\b.txt\" \"x\\-y\" ",
       false,
       {},
       kSwitchLikeNames},
      {"YZ1 pack",
       atYz1,
       opPack,
       nullptr,
       L"a.yz1",
       L"C:\\b",
       L"c -+  \"a.yz1\" \"C:\\b\\\" \".\\-wx\\a.txt\" \".\\@list\\b.txt\" \"x\\-y\" ",
       false,
       {},
       kSwitchLikeNames},
      {"7z pack, the archive too",
       at7z,
       opPack,
       nullptr,
       L"@a.7z",
       L"C:\\b",
       L"u -ms=off \"-oC:\\b\\\"  \".\\@a.7z\" \".\\-wx\\a.txt\" \".\\@list\\b.txt\" \"x\\-y\" ",
       false,
       {},
       kSwitchLikeNames},
  };
  for (const Case& c : cases) RunCase(c);
}

TEST(CommandLines, RequiredOptionsAndDllsFailBeforeAnyCommand) {
  struct ErrorCase {
    const char* what;
    TArchiverType type;
    Op op;
    std::function<void(TArchiverOptions&)> set;
    std::set<TZipModule> zipDlls;
    const wchar_t* message;
  };
  const ErrorCase cases[] = {
      {"LHA pack without jso", atLha, opPack, nullptr, {}, msg::kJsoNotSet},
      {"LHA unpack without jse", atLha, opUnpack, [](auto& o) { o.jso = 1; }, {}, msg::kJseNotSet},
      {"LHA unpack without both", atLha, opUnpack, nullptr, {}, msg::kJseNotSet},
      {"LHA self-extracting without jso", atLha, opSfx, nullptr, {}, msg::kJsoNotSet},
      {"ARJ unpack without jse", atArj, opUnpack, [](auto& o) { o.jso = 1; }, {}, msg::kJseNotSet},
      {"ZIP unpack, no unpacking DLL",
       atZip,
       opUnpack,
       nullptr,
       {TZipModule::Zip32J},
       msg::kZipUnpackNeedsDll},
      {"ZIP pack, no packing DLL",
       atZip,
       opPack,
       nullptr,
       {TZipModule::UnZip32},
       msg::kZipPackNeedsDll},
  };
  for (const ErrorCase& c : cases) {
    FakePlatform platform;
    platform.zipDlls = c.zipDlls;
    auto cmds = CreateArchiverCommands(c.type, platform);
    TArchiverOptions options;
    if (c.set) c.set(options);
    try {
      Build(*cmds, c.op, L"a", options, {std::wstring(L"f")}, L"");
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EWideMessage& e) {
      EXPECT_EQ(ToUtf8(e.Message()), ToUtf8(c.message)) << c.what;
      const bool isAssertion = dynamic_cast<const EAssertionFailed*>(&e) != nullptr;
      EXPECT_EQ(isAssertion, c.type != atZip) << c.what;
    }
  }
}

TEST(CommandLines, OperationsAFormatLacksRaiseTheBaseTexts) {
  struct Lacks {
    TArchiverType type;
    Op op;
    const wchar_t* message;
  };
  const Lacks cases[] = {
      {atCab, opRemove, msg::kRemoveNotSupported},
      {atCab, opUpdate, msg::kUpdateNotSupported},
      {atTar, opRemove, msg::kRemoveNotSupported},
      {atTgz, opUpdate, msg::kUpdateNotSupported},
      {atTar, opSfx, msg::kSfxNotSupported},
      {atRar, opPack, msg::kPackNotSupported},
      {atRar, opRemove, msg::kRemoveNotSupported},
      {atRar, opUpdate, msg::kUpdateNotSupported},
      {atRar, opSfx, msg::kSfxNotSupported},
      {atBga, opUpdate, msg::kUpdateNotSupported},
      {atBga, opToMem, msg::kUnpackToMemNotSupported},
      {atYz1, opRemove, msg::kRemoveNotSupported},
      {atYz1, opUpdate, msg::kUpdateNotSupported},
      {atYz1, opToMem, msg::kUnpackToMemNotSupported},
      {at7z, opUpdate, msg::kUpdateNotSupported},
      {at7z, opToMem, msg::kUnpackToMemNotSupported},
  };
  for (const Lacks& c : cases) {
    FakePlatform platform;
    auto cmds = CreateArchiverCommands(c.type, platform);
    try {
      Build(*cmds, c.op, L"a", TArchiverOptions(), {}, L"");
      ADD_FAILURE() << "type " << c.type << " op " << c.op << ": no error";
    } catch (const EArchiver& e) {
      EXPECT_EQ(ToUtf8(e.Message()), ToUtf8(c.message)) << "type " << c.type << " op " << c.op;
    }
  }
  FakePlatform platform;
  for (auto type : {atGCA, atBel, atNone, atAutoDetect}) {
    EXPECT_EQ(CreateArchiverCommands(type, platform), nullptr) << type;
  }
}

TEST(CommandLines, ResponseFileOnlyWhereTheOperationAllowsIt) {
  test::TScratchFolder temp;
  struct ResCase {
    const char* what;
    TArchiverType type;
    Op op;
    TResFileUsage usage;
    bool expectResFile;
  };
  const ResCase cases[] = {
      {"LHA pack with ruOnPack", atLha, opPack, {ruOnPack}, true},
      {"LHA pack without", atLha, opPack, {ruOnUnpack, ruOnRemoveItem, ruOnUpdate}, false},
      {"LHA unpack with ruOnUnpack", atLha, opUnpack, {ruOnUnpack}, true},
      {"LHA update needs ruOnUpdate",
       atLha,
       opUpdate,
       {ruOnPack, ruOnUnpack, ruOnRemoveItem},
       false},
      {"LHA self-extracting never", atLha, opSfx, TResFileUsage::FromBits(0x0F), false},
      {"LHA to memory never", atLha, opToMem, TResFileUsage::FromBits(0x0F), false},
      {"ZIP remove with ruOnRemoveItem", atZip, opRemove, {ruOnRemoveItem}, true},
      {"BGA self-extracting with ruOnRemoveItem", atBga, opSfx, {ruOnRemoveItem}, true},
      {"BGA self-extracting without", atBga, opSfx, {ruOnPack, ruOnUnpack, ruOnUpdate}, false},
      {"7z pack with ruOnPack", at7z, opPack, {ruOnPack}, true},
  };
  for (const ResCase& c : cases) {
    FakePlatform platform;
    auto cmds = CreateArchiverCommands(c.type, platform);
    TArchiverOptions options;
    options.jse = options.jso = 1;
    options.ResFileUsage = c.usage;
    options.ResFileName = temp.File(L"list.rsp");
    const std::wstring line =
        Build(*cmds, c.op, L"a", options, {std::wstring(L"x\\y")}, c.op == opToMem ? L"m" : L"");
    const bool hasResFile = line.find(L"\"@" + options.ResFileName + L"\"") != std::wstring::npos;
    EXPECT_EQ(hasResFile, c.expectResFile) << c.what << ": " << ToUtf8(line);
  }
  // The ZIP name filter reaches the response file's lines.
  FakePlatform platform;
  TArchiverOptions options;
  options.ResFileName = temp.File(L"zip.rsp");
  TZip32(platform).BuildPackCmd(L"C:\\a.zip", options, true, {std::wstring(L"-d\\[x]")}, L"");
  EXPECT_EQ(test::ReadFile(options.ResFileName), "\"[-]d/[[]x]\"\r\n");
  // Other formats' lines begin from the current folder where a name would read as a switch; the
  // response file itself stays "@<file>".
  options.jso = 1;
  options.ResFileName = temp.File(L"lha.rsp");
  const std::wstring line =
      TLha32(platform).BuildPackCmd(L"C:\\a.lzh", options, true, kSwitchLikeNames, L"C:\\b");
  EXPECT_NE(line.find(L" \"@" + options.ResFileName + L"\""), std::wstring::npos) << ToUtf8(line);
  EXPECT_EQ(test::ReadFile(options.ResFileName),
            "\".\\-wx\\a.txt\"\r\n\".\\@list\\b.txt\"\r\n\"x\\-y\"\r\n");
}

}  // namespace
}  // namespace vlm
