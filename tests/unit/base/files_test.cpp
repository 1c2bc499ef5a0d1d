// The file room on real folders: exclusive creates, write-then-rename, the walk's two rules, the
// name claim, work-folder claims and copies under code-page names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/code_page_copy.h"
#include "base/files.h"
#include "base/mapped_file.h"
#include "tests/support/scratch_folder.h"

namespace vlm {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() : root_(scratch_.Path()) {}

  std::wstring Path(const std::string& relative) const { return (root_ / relative).wstring(); }
  void Write(const std::string& relative, const std::string& bytes) {
    std::filesystem::create_directories((root_ / relative).parent_path());
    test::WriteFile(root_ / relative, bytes);
  }
  std::string Read(const std::string& relative) const { return test::ReadFile(root_ / relative); }

  test::TScratchFolder scratch_;
  std::filesystem::path root_;
};

TEST_F(FilesTest, NewFileIsMadeOnlyWhereNothingHasTheName) {
  Write("taken.txt", "theirs");
  std::filesystem::create_directory(root_ / "folder");
  TNewFile file;
  EXPECT_EQ(file.Create(Path("taken.txt")), TNewFile::TResult::NameTaken);
  EXPECT_EQ(file.Create(Path("folder")), TNewFile::TResult::NameTaken);
  EXPECT_EQ(file.Create(Path("missing/x.txt")), TNewFile::TResult::Failed);
  ASSERT_EQ(file.Create(Path("new.txt")), TNewFile::TResult::Created);
  EXPECT_TRUE(file.Write("abc", 3));
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(Read("new.txt"), "abc");
  EXPECT_EQ(Read("taken.txt"), "theirs");
}

// A piece of a mapped file, off the page boundaries, as a whole new file: a file left under the
// name is replaced, a folder is not.
TEST_F(FilesTest, WholeNewFileTakesAPieceOfAMappedFile) {
  std::string bytes;
  for (int i = 0; i < 3 * 4096 + 100; ++i) bytes += static_cast<char>(i * 7 % 251);
  Write("source.bin", bytes);
  Write("earlier.bin", "left from an earlier run");
  std::filesystem::create_directory(root_ / "folder");
  TMappedFile source(root_ / "source.bin", TMappedFile::TUse::HandOn);
  ASSERT_NE(source.Data(), nullptr);
  EXPECT_TRUE(WriteWholeNewFile(Path("piece.bin"), source, 4093, 8200));
  EXPECT_EQ(Read("piece.bin"), bytes.substr(4093, 8200));
  EXPECT_TRUE(WriteWholeNewFile(Path("earlier.bin"), source, 0, 5));
  EXPECT_EQ(Read("earlier.bin"), bytes.substr(0, 5));
  EXPECT_FALSE(WriteWholeNewFile(Path("folder"), source, 0, 5));
  EXPECT_TRUE(std::filesystem::is_directory(root_ / "folder"));
}

TEST_F(FilesTest, TemporaryFileTakesTheNextFreeNameAndIsGoneUnlessMoved) {
  Write("~w0.part", "someone else's");
  unsigned number = 0;
  {
    TTemporaryFile dropped(Path(""), L"~w", L".part", number);
    EXPECT_EQ(dropped.Path(), Path("~w1.part"));
    dropped.Write("x", 1);
  }
  EXPECT_FALSE(AnythingNamed(Path("~w1.part")));
  EXPECT_EQ(number, 2u);
  TTemporaryFile kept(Path(""), L"~w", L".part", number);
  kept.Write("done", 4);
  kept.MoveTo(Path("final.bin"));
  EXPECT_EQ(Read("final.bin"), "done");
  EXPECT_EQ(Read("~w0.part"), "someone else's");
}

TEST_F(FilesTest, ReplacingFileLeavesTheOldFileWholeUntilCommitted) {
  Write("program.exe", "old");
  {
    TReplacingFile file(Path("program.exe"));
    file.Append("new, half written");
    EXPECT_EQ(Read("program.exe"), "old");
  }  // never committed
  EXPECT_EQ(Read("program.exe"), "old");
  TReplacingFile file(Path("program.exe"));
  file.Append("new");
  file.Commit();
  EXPECT_EQ(Read("program.exe"), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_), {}), 1);
  try {
    TReplacingFile nowhere(Path("missing/program.exe"));
    ADD_FAILURE() << "created in a missing folder";
  } catch (const EFileError& error) {
    EXPECT_EQ(error.FileName(), Path("missing/program.exe"));
  }
}

TEST_F(FilesTest, FolderSizeCountsDotFoldersAndHiddenFilesButNeverEntersALink) {
  Write("docs/a.txt", std::string(100, 'a'));
  Write("docs/.git/objects/b", std::string(1000, 'b'));
  Write("docs/.hidden", std::string(10, 'c'));
  std::filesystem::create_directory_symlink(root_ / "docs", root_ / "docs" / "loop");
  int entries = 0;
  EXPECT_EQ(FolderSize(Path("docs"), [&] { ++entries; }), 1110);
  EXPECT_EQ(entries, 6);  // a.txt .git objects b .hidden loop
  EXPECT_TRUE(IsLinkedFolder(Path("docs/loop")));
  EXPECT_EQ(FolderSize(Path("nothing")), 0);
  EXPECT_EQ(FileSize(Path("docs/a.txt")), 100);
  EXPECT_EQ(FileSize(Path("docs")), 0);
  EXPECT_EQ(FileSize(Path("nothing")), -1);
}

TEST_F(FilesTest, NameClaimComparesAsTheFileSystemDoesAndNumbers) {
  TNameClaim names;
  EXPECT_EQ(names.Claim(L"Report.pdf"), L"Report.pdf");
  EXPECT_EQ(names.Claim(L"report.PDF"), L"report (2).PDF");
  EXPECT_EQ(names.Claim(L"\u00c4.txt"), L"\u00c4.txt");
  EXPECT_EQ(names.Claim(L"\u00e4.txt"), L"\u00e4 (2).txt");  // one NTFS file
  EXPECT_EQ(names.Claim(L"\u0414_.pdf"), L"\u0414_.pdf");
  EXPECT_EQ(names.Claim(L"\u0434_.pdf"), L"\u0434_ (2).pdf");
  EXPECT_EQ(names.Claim(L"REPORT (2).pdf"), L"REPORT (2) (2).pdf");  // taken as "report (2)"
}

TEST(TNameClaim, NumbersRepeatedNamesAsWindowsComparesThem) {
  TNameClaim names;
  EXPECT_EQ(names.Claim(L"a.txt"), L"a.txt");
  EXPECT_EQ(names.Claim(L"a.txt"), L"a (2).txt");
  EXPECT_EQ(names.Claim(L"A.TXT"), L"A (3).TXT");
  EXPECT_EQ(names.Claim(L"a (2).txt"), L"a (2) (2).txt");
  EXPECT_EQ(names.Claim(L"README"), L"README");
  EXPECT_EQ(names.Claim(L"readme"), L"readme (2)");
  EXPECT_EQ(names.Claim(L".profile"), L".profile");
  EXPECT_EQ(names.Claim(L".profile"), L".profile (2)");
}

TEST_F(FilesTest, NewFolderIsClaimedOnce) {
  EXPECT_TRUE(CreateNewFolder(Path("work")));
  EXPECT_FALSE(CreateNewFolder(Path("work")));
  EXPECT_TRUE(MakeFolder(Path("work")).empty());
  EXPECT_FALSE(MakeFolder(Path("missing/work")).empty());
}

TEST_F(FilesTest, CodePageCopyNumbersNamesThatMeetAndNeverFollowsALink) {
  Write("src/caf\u00e9.txt", "1");  // natively "é" has no best fit: "caf_.txt"
  Write("src/caf_.txt", "2");
  Write("src/sub/r\u00e9sum\u00e9.pdf", "3");
  std::filesystem::create_directory_symlink(root_ / "src", root_ / "src" / "loop");
  EXPECT_FALSE(NamesBelowFitCodePage(Path("src")));
  EXPECT_EQ(CopyUnderCodePageNames(Path("src"), Path("out/copy")), L"");
  EXPECT_EQ(Read("out/copy/caf_.txt"), "2");  // a name that fits keeps itself
  EXPECT_EQ(Read("out/copy/caf_ (2).txt"), "1");
  EXPECT_EQ(Read("out/copy/sub/r_sum_.pdf"), "3");
  EXPECT_FALSE(AnythingNamed(Path("out/copy/loop")));
  EXPECT_TRUE(NamesBelowFitCodePage(Path("out/copy")));

  EXPECT_NE(CopyUnderCodePageNames(Path("gone"), Path("out/gone")), L"");
  EXPECT_FALSE(AnythingNamed(Path("out/gone")));
  RemoveTree(Path("out"));
  EXPECT_FALSE(AnythingNamed(Path("out")));
  EXPECT_EQ(Read("src/sub/r\u00e9sum\u00e9.pdf"), "3");
}

}  // namespace
}  // namespace vlm
