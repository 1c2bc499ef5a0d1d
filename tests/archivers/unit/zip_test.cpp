#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/archivers/common/result_codes.h"
#include "tests/archivers/common/unzip_command.h"
#include "tests/archivers/common/zip_command.h"
#include "tests/archivers/unit/archive_fixture.h"

namespace standin_test {
namespace {

using standin::RunZip;

class ZipTest : public ArchiveFixture {
 protected:
  void SetUp() override {
    ArchiveFixture::SetUp();
    WriteFile("work/docs/a.txt", std::string(5000, 'a'));
    WriteFile("work/docs/sub/b.txt", "bee\n");
    WriteFile("work/docs/.hidden", "h");
    WriteFile("work/-dash.txt", "dash");
    WriteFile("work/[x].txt", "bracket");
    WriteFile("work/@list/b.txt", "at");
  }

  int Zip(const std::string& line, std::string* output = nullptr) {
    standin::SilentProgress progress;
    std::string text;
    int rc = RunZip(line, progress, text);
    if (output) *output = text;
    return rc;
  }

  // Member names as Info-ZIP's listing shows them, one per line.
  std::string Members(const std::string& archive) {
    std::string listing;
    Shell("unzip -Z1 " + archive, &listing);
    return listing;
  }
};

TEST_F(ZipTest, PacksWhatTheBuildersSendAndUnzipAcceptsIt) {
  struct Case {
    std::string line;
    std::string members;
  };
  std::string base = "\"" + Path("work") + "\\\"";
  const Case cases[] = {
      // A dropped folder: base folder, collected relative names with "/".
      {" -S -D  \"" + Path("out.zip") + "\" " + base + " \"docs/a.txt\" \"docs/sub/b.txt\" ",
       "docs/a.txt\ndocs/sub/b.txt\n"},
      // A dropped file: absolute name, paths junked.
      {" -D -q -o -j  \"" + Path("out.zip") + "\" \"" + Path("work/docs/a.txt") + "\" ", "a.txt\n"},
      // The DLL expanding a folder itself, hidden files only with -S.
      {" -r -D \"" + Path("out.zip") + "\" " + base + " docs", "docs/a.txt\ndocs/sub/b.txt\n"},
      {" -r -S \"" + Path("out.zip") + "\" " + base + " docs",
       "docs/\ndocs/.hidden\ndocs/a.txt\ndocs/sub/\ndocs/sub/b.txt\n"},
      // The name filter's escapes and a mask.
      {" -D \"" + Path("out.zip") + "\" " + base +
           " \"[-]dash.txt\" \"[[]x].txt\" \"[@]list/b.txt\"",
       "-dash.txt\n[x].txt\n@list/b.txt\n"},
      {" -D -r \"" + Path("out.zip") + "\" " + base + " \"docs/*.txt\"",
       "docs/a.txt\ndocs/sub/b.txt\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(Path("out.zip"));
    ASSERT_EQ(Zip(c.line), standin::kOk) << c.line;
    EXPECT_EQ(Shell("unzip -tq out.zip"), 0) << c.line;
    EXPECT_EQ(Members("out.zip"), c.members) << c.line;
  }
}

TEST_F(ZipTest, DeflatesAndKeepsContentAndTime) {
  std::filesystem::last_write_time(
      Path("work/docs/a.txt"),
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  ASSERT_EQ(Zip("-D " + Path("out.zip") + " " + Path("work/") + " docs/a.txt"), standin::kOk);
  std::string verbose;
  Shell("unzip -v out.zip", &verbose);
  EXPECT_NE(verbose.find("Defl:N"), std::string::npos) << verbose;
  ASSERT_EQ(Shell("mkdir x && cd x && unzip -q ../out.zip"), 0);
  EXPECT_EQ(ReadFile("x/docs/a.txt"), std::string(5000, 'a'));
  auto delta = std::filesystem::last_write_time(Path("x/docs/a.txt")) -
               std::filesystem::last_write_time(Path("work/docs/a.txt"));
  EXPECT_LE(std::chrono::abs(delta), std::chrono::seconds(2));
}

TEST_F(ZipTest, PasswordEncryptsWithTheTraditionalCipher) {
  ASSERT_EQ(Zip(" -D -q -o -j -P secret \"" + Path("out.zip") + "\" \"" +
                Path("work/docs/sub/b.txt") + "\" "),
            standin::kOk);
  std::string content;
  EXPECT_EQ(Shell("unzip -P secret -p out.zip b.txt", &content), 0);
  EXPECT_EQ(content, "bee\n");
  EXPECT_NE(Shell("unzip -P wrong -tq out.zip"), 0);

  standin::SilentProgress progress;
  std::string output;
  EXPECT_EQ(
      standin::RunUnzip("-x \"" + Path("out.zip") + "\" \"" + Path("d/") + "\"", progress, output),
      standin::kErrorPasswordFile);
  EXPECT_EQ(standin::RunUnzip("-x -P secret \"" + Path("out.zip") + "\" \"" + Path("d/") + "\"",
                              progress, output),
            standin::kOk);
  EXPECT_EQ(ReadFile("d/b.txt"), "bee\n");
  // Backslashes after the closing quote belong to the quoted password.
  std::filesystem::remove(Path("out.zip"));
  ASSERT_EQ(Zip(" -j -P \"two words\"\\ \"" + Path("out.zip") + "\" \"" +
                Path("work/docs/sub/b.txt") + "\""),
            standin::kOk);
  EXPECT_EQ(Shell("unzip -P 'two words\\' -tq out.zip"), 0);
}

TEST_F(ZipTest, ResponseFileListsQuotedNamesWithCrLf) {
  WriteFile("list.txt", "\"docs/a.txt\"\r\n\"docs/sub/b.txt\"\r\n");
  ASSERT_EQ(
      Zip("-D \"" + Path("out.zip") + "\" \"" + Path("work") + "/\" \"@" + Path("list.txt") + "\""),
      standin::kOk);
  EXPECT_EQ(Members("out.zip"), "docs/a.txt\ndocs/sub/b.txt\n");
  EXPECT_EQ(Zip("-D " + Path("out.zip") + " @" + Path("missing.txt")), standin::kErrorResponseRead);
}

TEST_F(ZipTest, DeletesAndFreshensMembersOfAnExistingArchive) {
  std::string base = Path("work/");
  ASSERT_EQ(Zip("-r -D " + Path("out.zip") + " " + base + " docs"), standin::kOk);
  ASSERT_EQ(Zip("-d " + Path("out.zip") + " docs/a.txt"), standin::kOk);
  EXPECT_EQ(Members("out.zip"), "docs/sub/b.txt\n");
  WriteFile("work/docs/sub/b.txt", "newer bee");
  std::filesystem::last_write_time(
      Path("work/docs/sub/b.txt"),
      std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
  ASSERT_EQ(Zip("-f " + Path("out.zip") + " " + base + " docs/sub/b.txt docs/a.txt"), standin::kOk);
  std::string content;
  Shell("unzip -p out.zip docs/sub/b.txt", &content);
  EXPECT_EQ(content, "newer bee");
  EXPECT_EQ(Members("out.zip"), "docs/sub/b.txt\n");
}

TEST_F(ZipTest, AdjustsAnArchiveAppendedToAStub) {
  ASSERT_EQ(Zip("-D " + Path("out.zip") + " " + Path("work/") + " docs/a.txt"), standin::kOk);
  ASSERT_EQ(Shell("printf 'MZstubstubstub' > out.exe && cat out.zip >> out.exe"), 0);
  ASSERT_EQ(Zip("-A " + Path("out.exe")), standin::kOk);
  std::string output;
  EXPECT_EQ(Shell("unzip -t out.exe", &output), 0) << output;
  EXPECT_EQ(output.find("extra bytes"), std::string::npos) << output;
}

TEST_F(ZipTest, NothingToPackIsAnError) {
  EXPECT_EQ(Zip("-D " + Path("out.zip") + " " + Path("work/") + " nothing.txt"),
            standin::kErrorNotFindFile);
  EXPECT_FALSE(std::filesystem::exists(Path("out.zip")));
  EXPECT_EQ(Zip("-D -q"), standin::kErrorNotFileName);
  // A switch the archivers do not know is refused, not ignored.
  EXPECT_EQ(Zip("-D -e " + Path("out.zip") + " " + Path("work/") + " docs/a.txt"),
            standin::kErrorCommandName);
  standin::SilentProgress progress;
  std::string output;
  EXPECT_EQ(standin::RunUnzip("-x -e " + Path("out.zip"), progress, output),
            standin::kErrorCommandName);
  EXPECT_EQ(standin::RunUnzip("-x --x " + Path("out.zip"), progress, output),
            standin::kErrorCommandName);
}

class StopAtSecond : public standin::ProgressSink {
 public:
  bool Report(standin::ProgressState state, const standin::ProgressRecord& record) override {
    if (state == standin::kStateBegin) begun.push_back(record.destName);
    return begun.size() == 2;
  }
  std::vector<std::string> begun;
};

TEST_F(ZipTest, ProgressNamesEachMemberAndCanStopThePack) {
  StopAtSecond progress;
  std::string output;
  EXPECT_EQ(RunZip("-r -D " + Path("out.zip") + " " + Path("work/") + " docs", progress, output),
            standin::kErrorUserCancel);
  EXPECT_EQ(progress.begun, (std::vector<std::string>{"docs/a.txt", "docs/sub/b.txt"}));
  EXPECT_FALSE(std::filesystem::exists(Path("out.zip")));
  EXPECT_FALSE(std::filesystem::exists(Path("out.zip.tmp")));
}

TEST_F(ZipTest, ListsChecksAndExtractsToMemory) {
  ASSERT_EQ(Zip("-r -D " + Path("out.zip") + " " + Path("work/") + " docs"), standin::kOk);
  std::vector<standin::MemberInfo> members = standin::ListZip(Path("out.zip"));
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].name, "docs/a.txt");
  EXPECT_EQ(members[0].originalSize, 5000u);
  EXPECT_LT(members[0].compressedSize, 100u);
  EXPECT_EQ(members[0].mode, "deflate");
  EXPECT_TRUE(standin::CheckZip(Path("out.zip"), 2));
  EXPECT_FALSE(standin::CheckZip(Path("work/docs/a.txt"), 0));

  standin::Bytes content;
  ASSERT_EQ(
      standin::ExtractZipToMemory("--i \"" + Path("out.zip") + "\" \"docs/sub/b.txt\"", content),
      standin::kOk);
  EXPECT_EQ(std::string(content.begin(), content.end()), "bee\n");
}

}  // namespace
}  // namespace standin_test
