#include <gtest/gtest.h>

#include <functional>

#include "base/files.h"
#include "archiver/archiver_errors.h"
#include "archiver/cmd_opt.h"
#include "base/ansi_text.h"
#include "tests/support/scratch_folder.h"

namespace vlm {
namespace {

using test::TScratchFolder;

struct Case {
  const char* what;
  std::function<void(TCmdOpt&)> add;
  std::wstring expected;
};

void ExpectLines(const Case* begin, const Case* end, TCmdOptFormat format = cfInner) {
  for (const Case* c = begin; c != end; ++c) {
    TCmdOpt cmd(format);
    c->add(cmd);
    EXPECT_EQ(cmd.CmdLine(), c->expected) << c->what;
  }
}

TEST(CmdOpt, IntegerAndBooleanSwitches) {
  const Case cases[] = {
      {"n 0", [](TCmdOpt& o) { o.AddIntOpt(L"n", 0); }, L" -n0"},
      {"n -1", [](TCmdOpt& o) { o.AddIntOpt(L"n", -1); }, L""},
      {"negative", [](TCmdOpt& o) { o.AddIntOpt(L"n", -2); }, L""},
      {"no name", [](TCmdOpt& o) { o.AddIntOpt(L"", 9); }, L" -9"},
      {"long name", [](TCmdOpt& o) { o.AddIntOpt(L"-use-directory=", 1); }, L" --use-directory=1"},
      {"def unset", [](TCmdOpt& o) { o.AddIntDef(L"r", -1, 1); }, L""},
      {"def equal", [](TCmdOpt& o) { o.AddIntDef(L"r", 1, 1); }, L" -r"},
      {"def other", [](TCmdOpt& o) { o.AddIntDef(L"r", 2, 1); }, L" -r2"},
      {"def other negative", [](TCmdOpt& o) { o.AddIntDef(L"r", -3, 1); }, L" -r-3"},
      {"bool on", [](TCmdOpt& o) { o.AddBolOpt(L"a", true); }, L" -a"},
      {"bool off", [](TCmdOpt& o) { o.AddBolOpt(L"a", false); }, L""},
      {"empty add", [](TCmdOpt& o) { o.Add(L""); }, L" "},
      {"two empty adds", [](TCmdOpt& o) { o.Add(L""), o.Add(L""); }, L"  "},
  };
  ExpectLines(std::begin(cases), std::end(cases));
}

TEST(CmdOpt, StringSwitchQuoting) {
  const Case inner[] = {
      {"unset", [](TCmdOpt& o) { o.AddStrOpt(L"jz", kUnsetString); }, L""},
      {"stored -1", [](TCmdOpt& o) { o.AddStrOpt(L"jz", L"-1"); }, L" \"-jz-1\""},
      {"empty value", [](TCmdOpt& o) { o.AddStrOpt(L"jz", L""); }, L" \"-jz\""},
      {"no switch", [](TCmdOpt& o) { o.AddStrOpt(L"", L"a b"); }, L" \"a b\""},
      {"space switch", [](TCmdOpt& o) { o.AddStrOpt(L" /x", L"v"); }, L" \"/xv\""},
      {"backslash kept", [](TCmdOpt& o) { o.AddFName1(L"w", L"C:\\t\\"); }, L" \"-wC:\\t\\\""},
      {"no escaping", [](TCmdOpt& o) { o.AddStrOpt(L"", L"a\"b"); }, L" \"a\"b\""},
      {"path gets slash", [](TCmdOpt& o) { o.AddPath1(L"w", L"C:\\tmp"); }, L" \"-wC:\\tmp\\\""},
      {"path has slash", [](TCmdOpt& o) { o.AddPath1(L"w", L"C:\\tmp\\"); }, L" \"-wC:\\tmp\\\""},
      {"path -1", [](TCmdOpt& o) { o.AddPath1(L"w", L"-1"); }, L" \"-w-1\\\""},
      {"path empty", [](TCmdOpt& o) { o.AddPath1(L"w", L""); }, L""},
      {"path unset", [](TCmdOpt& o) { o.AddPath1(L"w", kUnsetString); }, L""},
  };
  ExpectLines(std::begin(inner), std::end(inner), cfInner);

  const Case outer[] = {
      {"outer", [](TCmdOpt& o) { o.AddFName1(L"f", L"a.tar"); }, L" -f \"a.tar\""},
      {"outer no switch", [](TCmdOpt& o) { o.AddFName1(L"", L"a.tar"); }, L" \"a.tar\""},
      {"outer space switch", [](TCmdOpt& o) { o.AddStrOpt(L" --x", L"v"); }, L" --x \"v\""},
      {"outer path", [](TCmdOpt& o) { o.AddPath1(L"o", L"C:\\d"); }, L" -o \"C:\\d\\\""},
  };
  ExpectLines(std::begin(outer), std::end(outer), cfOuter);
}

TEST(CmdOpt, FileItemsOfEveryKindInOrderWithoutEmptyNames) {
  const wchar_t* wideArray[] = {L"w1", L"", L"w2", nullptr};
  const char* ansiArray[] = {"n1", nullptr};
  const TFileItems items = {std::wstring(L"a"),
                            std::string("\x93\xfa.txt"),  // 日.txt in code page 932
                            std::vector<std::wstring>{L"b", L"", L"c"},
                            std::vector<std::string>{"d"},
                            wideArray,
                            ansiArray,
                            std::wstring()};
  TCmdOpt cmd;
  EXPECT_EQ(cmd.AddFList2(L"", items), 8);
  EXPECT_EQ(cmd.CmdLine(), FromUtf8(" \"a\" \"日.txt\" \"b\" \"c\" \"d\" \"w1\" \"w2\" \"n1\""));
  EXPECT_EQ(cmd.AnsiCmdLine(), " \"a\" \"\x93\xfa.txt\" \"b\" \"c\" \"d\" \"w1\" \"w2\" \"n1\"");
}

TEST(CmdOpt, FilterRewritesListNamesOnly) {
  TCmdOpt cmd(cfInner, [](const std::wstring& name) { return L"<" + name + L">"; });
  cmd.AddFName1(L"", L"archive");
  cmd.AddFName2(L"jx", L"m");
  cmd.AddFList2(L"", {std::wstring(L"f")});
  EXPECT_EQ(cmd.CmdLine(), L" \"archive\" \"-jx<m>\" \"<f>\"");
  EXPECT_EQ(cmd.ResFileContent({std::wstring(L"g")}), "\"<g>\"\r\n");
}

TEST(CmdOpt, ResponseFileIsAnsiQuotedCrLfWithoutBom) {
  TScratchFolder temp;
  const std::wstring resFile = temp.Write(L"list.txt", "old content that must go away");
  TCmdOpt cmd;
  const int count = cmd.MakeResFile(
      {FromUtf8("C:\\データ\\表.txt"), std::wstring(), std::wstring(L"b c")}, resFile);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(test::ReadFile(resFile),
            "\"C:\\\x83\x66\x81\x5b\x83\x5e\\\x95\x5c.txt\"\r\n"
            "\"b c\"\r\n");
  EXPECT_EQ(cmd.CmdLine(), L" \"@" + resFile + L"\"");
  EXPECT_EQ(temp.Names().size(), 1u);  // no temporary file left beside it
}

TEST(CmdOpt, ResponseFileThatCannotBeCreatedRaises) {
  TScratchFolder temp;
  TCmdOpt cmd;
  EXPECT_THROW(cmd.MakeResFile({std::wstring(L"a")}, temp.File(L"missing/list.txt")), EFileError);
  EXPECT_EQ(cmd.CmdLine(), L"");
}

TEST(CmdOpt, FileListGoesToResponseFileOnlyWhenAllowedAndNamed) {
  TScratchFolder temp;
  TArchiverOptions options;
  options.UserFileList = L"tail";
  struct Row {
    bool useResFile;
    std::wstring resFileName;
    bool expectResFile;
  };
  const Row rows[] = {{true, temp.File(L"r.txt"), true},
                      {false, temp.File(L"r.txt"), false},
                      {true, L"", false},
                      {true, kUnsetString, false}};
  for (const Row& row : rows) {
    options.ResFileName = row.resFileName;
    TCmdOpt cmd;
    AddFileList(cmd, row.useResFile, {std::wstring(L"f")}, options);
    const std::wstring expected =
        row.expectResFile ? L" \"@" + row.resFileName + L"\" tail" : L" \"f\" tail";
    EXPECT_EQ(cmd.CmdLine(), expected) << row.useResFile << " " << ToUtf8(row.resFileName);
  }
}

TEST(CmdOpt, ArchiveAndBase) {
  TCmdOpt cmd;
  AddArchiveAndBase(cmd, L"C:\\a.lzh", L"C:\\base");
  AddArchiveAndBase(cmd, L"C:\\b.lzh", L"");
  EXPECT_EQ(cmd.CmdLine(), L" \"C:\\a.lzh\" \"C:\\base\\\" \"C:\\b.lzh\"");
}

TEST(CmdOpt, StandaloneNamesNeverReadAsSwitchOrResponseFile) {
  const Case cases[] = {
      {"leading -", [](TCmdOpt& o) { o.AddFName1(L"", L"-wx\\a.txt"); }, L" \".\\-wx\\a.txt\""},
      {"leading @", [](TCmdOpt& o) { o.AddFName1(L"", L"@list"); }, L" \".\\@list\""},
      {"base folder", [](TCmdOpt& o) { o.AddPath1(L"", L"-b"); }, L" \".\\-b\\\""},
      {"- later on", [](TCmdOpt& o) { o.AddFName1(L"", L"a-@"); }, L" \"a-@\""},
      {"a switch's value", [](TCmdOpt& o) { o.AddFName1(L"x!", L"-y"); }, L" \"-x!-y\""},
      {"after the filter", [](TCmdOpt& o) { o.AddFName2(L"", L"a"); }, L" \".\\-a\""},
  };
  for (const Case& c : cases) {
    TCmdOpt cmd(cfInner, [](const std::wstring& name) { return name == L"a" ? L"-a" : name; });
    c.add(cmd);
    EXPECT_EQ(cmd.CmdLine(), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace vlm
