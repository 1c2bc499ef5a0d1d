#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/archivers/common/lh5_codec.h"
#include "tests/archivers/common/lha_command.h"
#include "tests/archivers/common/result_codes.h"
#include "tests/archivers/unit/archive_fixture.h"

namespace standin_test {
namespace {

std::string Text(size_t size) {
  std::mt19937 random(7);
  const char* words[] = {"archive ", "member ", "header ", "添付 ", "folder\n", "zip ", "lha "};
  std::string text;
  while (text.size() < size) text += words[random() % 7];
  text.resize(size);
  return text;
}

std::string Noise(size_t size) {
  std::mt19937 random(11);
  std::string noise(size, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  return noise;
}

class LhaTest : public ArchiveFixture {
 protected:
  void SetUp() override {
    ArchiveFixture::SetUp();
    WriteFile("work/docs/a.txt", Text(3000));
    WriteFile("work/docs/sub/b.txt", "bee\n");
    WriteFile("work/docs/.hidden", "h");
    WriteFile("work/-wx/c.txt", "sea\n");
    WriteFile("work/@list/d.txt", "dee\n");
  }

  int Unlha(const std::string& line, standin::ProgressSink* progress = nullptr) {
    standin::SilentProgress silent;
    std::string output;
    return standin::RunUnlha(line, progress ? *progress : silent, output);
  }

  std::string Listing(const std::string& archive) {
    std::string listing;
    Shell("lha l " + archive + " | awk 'NR>2 && !/^-/ && !/ files? / {print $NF}'", &listing);
    return listing;
  }
};

TEST_F(LhaTest, PacksWhatTheBuildersSendAndLhasaAcceptsIt) {
  struct Case {
    std::string line;
    std::string members;
  };
  std::string archive = "\"" + Path("out.lzh") + "\"";
  std::string fixed =
      " \"-w-1\\\" -jso1 \"-jz-1\" \"-gr-1\" \"-gyd-1\" \"-gye-1\" \"-gyt-1\" \"-gyw-1\"  ";
  const Case cases[] = {
      // Folders named like a switch and a response file, their files from the current folder.
      {"u -+ -x1" + fixed + archive + " \"" + Path("work") +
           "\\\" \".\\-wx\\c.txt\" \".\\@list\\d.txt\" ",
       "-wx/c.txt\n@list/d.txt\n"},
      // A dropped file: no base folder, names without folders.
      {"u -+ -n1 -p1 -x0" + fixed + archive + " \"" + Path("work/docs/a.txt") + "\" ", "a.txt\n"},
      // A dropped folder: base folder and the collected names relative to it.
      {"u -+ -a1 -n0 -p1 -x1" + fixed + archive + " \"" + Path("work") +
           "\\\" \"docs\\a.txt\" \"docs\\sub\\b.txt\" ",
       "docs/a.txt\ndocs/sub/b.txt\n"},
      // The DLL walking the folder itself, hidden files only with -a1.
      {"a -r2 -x1 " + archive + " " + Path("work/") + " docs",
       "docs/\ndocs/a.txt\ndocs/sub/\ndocs/sub/b.txt\n"},
      {"a -r2 -a1 -x1 " + archive + " " + Path("work/") + " docs",
       "docs/\ndocs/.hidden\ndocs/a.txt\ndocs/sub/\ndocs/sub/b.txt\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(Path("out.lzh"));
    ASSERT_EQ(Unlha(c.line), standin::kOk) << c.line;
    std::string test;
    EXPECT_EQ(Shell("lha t out.lzh", &test), 0) << c.line << "\n" << test;
    EXPECT_EQ(Listing("out.lzh"), c.members) << c.line;
  }
  ASSERT_EQ(Shell("mkdir x && cd x && lha xq ../out.lzh"), 0);
  EXPECT_EQ(ReadFile("x/docs/a.txt"), Text(3000));
}

TEST_F(LhaTest, Lh5StreamsDecodeInLhasaAndInOurReader) {
  struct Case {
    const char* what;
    std::string content;
    const char* method;
  };
  const Case cases[] = {
      {"empty", "", "-lh0-"},
      {"one byte", "x", "-lh0-"},
      {"one repeated byte", std::string(70000, 'a'), "-lh5-"},
      {"text", Text(20000), "-lh5-"},
      {"several blocks", Text(400000) + Noise(50000) + Text(100000), "-lh5-"},
      {"noise", Noise(5000), "-lh0-"},
  };
  for (const Case& c : cases) {
    WriteFile("in/member.bin", c.content);
    std::filesystem::remove(Path("out.lzh"));
    ASSERT_EQ(Unlha("a \"" + Path("out.lzh") + "\" \"" + Path("in/") + "\" member.bin"),
              standin::kOk)
        << c.what;
    std::string verbose;
    Shell("lha v out.lzh", &verbose);
    EXPECT_NE(verbose.find(std::string(c.method).substr(1, 3)), std::string::npos)
        << c.what << verbose;
    std::string content;
    EXPECT_EQ(Shell("lha pq out.lzh member.bin > piped && lha t out.lzh"), 0) << c.what;
    EXPECT_EQ(ReadFile("piped"), c.content) << c.what;
    standin::Bytes memory;
    ASSERT_EQ(standin::ExtractLhaToMemory("-+ \"" + Path("out.lzh") + "\" member.bin", memory),
              standin::kOk)
        << c.what;
    EXPECT_EQ(std::string(memory.begin(), memory.end()), c.content) << c.what;
  }
}

TEST_F(LhaTest, StoresWhenAskedAndUnpacksWithFoldersOrWithout) {
  ASSERT_EQ(Unlha("a -z -r2 -x1 \"" + Path("out.lzh") + "\" \"" + Path("work/") + "\" docs"),
            standin::kOk);
  std::vector<standin::MemberInfo> members = standin::ListLha(Path("out.lzh"));
  ASSERT_EQ(members.size(), 4u);
  EXPECT_EQ(members[1].name, "docs\\a.txt");
  EXPECT_EQ(members[1].mode, "-lh0-");
  EXPECT_TRUE(standin::CheckLha(Path("out.lzh"), 2));
  EXPECT_FALSE(standin::CheckLha(Path("work/docs/a.txt"), 0));

  ASSERT_EQ(Unlha("x \"" + Path("out.lzh") + "\" \"" + Path("d1/") + "\""), standin::kOk);
  EXPECT_EQ(ReadFile("d1/docs/sub/b.txt"), "bee\n");
  ASSERT_EQ(Unlha("e \"" + Path("out.lzh") + "\" \"" + Path("d2/") + "\" docs/sub/*"),
            standin::kOk);
  EXPECT_EQ(ReadFile("d2/b.txt"), "bee\n");
  EXPECT_FALSE(std::filesystem::exists(Path("d2/a.txt")));
}

TEST_F(LhaTest, UpdatesAndDeletesMembersOfAnExistingArchive) {
  std::string archive = "\"" + Path("out.lzh") + "\"";
  std::string base = "\"" + Path("work/") + "\"";
  ASSERT_EQ(Unlha("a -x1 " + archive + " " + base + " docs/a.txt docs/sub/b.txt"), standin::kOk);
  ASSERT_EQ(Unlha("d " + archive + " docs/a.txt"), standin::kOk);
  EXPECT_EQ(Listing("out.lzh"), "docs/sub/b.txt\n");
  WriteFile("work/docs/sub/b.txt", "newer bee");
  std::filesystem::last_write_time(
      Path("work/docs/sub/b.txt"),
      std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
  ASSERT_EQ(Unlha("u -x1 " + archive + " " + base + " docs/sub/b.txt"), standin::kOk);
  std::string content;
  Shell("lha pq out.lzh docs/sub/b.txt", &content);
  EXPECT_EQ(content, "newer bee");
  EXPECT_EQ(Shell("lha t out.lzh"), 0);
}

TEST_F(LhaTest, ResponseFilesAndErrors) {
  WriteFile("list.txt", "\"docs\\a.txt\"\r\n\"docs\\sub\\b.txt\"\r\n");
  ASSERT_EQ(Unlha("u -x1 \"" + Path("out.lzh") + "\" \"" + Path("work") + "\\\" \"@" +
                  Path("list.txt") + "\""),
            standin::kOk);
  EXPECT_EQ(Listing("out.lzh"), "docs/a.txt\ndocs/sub/b.txt\n");
  EXPECT_EQ(Unlha("u \"" + Path("new.lzh") + "\" nothing.txt"), standin::kErrorNotFindFile);
  EXPECT_EQ(Unlha("q \"" + Path("new.lzh") + "\""), standin::kErrorCommandName);
  // A switch outside UNLHA32's vocabulary is refused, not ignored.
  EXPECT_EQ(Unlha("u -b1 \"" + Path("new.lzh") + "\" nothing.txt"), standin::kErrorCommandName);
  EXPECT_EQ(Unlha("u -n1x \"" + Path("new.lzh") + "\" nothing.txt"), standin::kErrorCommandName);
  EXPECT_EQ(Unlha("x \"" + Path("work/docs/a.txt") + "\""), standin::kErrorNotArcFile);
}

class StopAtSecond : public standin::ProgressSink {
 public:
  bool Report(standin::ProgressState state, const standin::ProgressRecord& record) override {
    if (state == standin::kStateBegin) begun.push_back(record.destName);
    return begun.size() == 2;
  }
  std::vector<std::string> begun;
};

TEST_F(LhaTest, ProgressNamesEachMemberAndCanStopThePack) {
  StopAtSecond progress;
  EXPECT_EQ(
      Unlha("a -x1 \"" + Path("out.lzh") + "\" \"" + Path("work/") + "\" docs/a.txt docs/sub/b.txt",
            &progress),
      standin::kErrorUserCancel);
  EXPECT_EQ(progress.begun, (std::vector<std::string>{"docs/a.txt", "docs/sub/b.txt"}));
  EXPECT_FALSE(std::filesystem::exists(Path("out.lzh")));
  EXPECT_FALSE(std::filesystem::exists(Path("out.lzh.tmp")));
}

}  // namespace
}  // namespace standin_test
