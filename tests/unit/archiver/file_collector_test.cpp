#include "archiver/file_collector.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <functional>

#include "archiver/name_key_order.h"
#include "archiver/path_mask.h"
#include "fake_file_system.h"
#include "base/ansi_text.h"
#include "tests/support/scratch_folder.h"

namespace vlm {
namespace {

using test::TScratchFolder;
namespace fs = std::filesystem;

// A small tree: two levels, a hidden file, a ".git" folder, a log beside the documents.
class CollectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"docs/a.txt", "docs/B.txt", "docs/.hidden", "docs/x.log",
                             "docs/sub/c.txt", "docs/sub/y.log", "docs/.git/config", "top.txt"}) {
      fs::create_directories(fs::path(FTemp.File(L"")) / fs::path(name).parent_path());
      FTemp.Write(FromUtf8(name), name);
    }
    FWalk = CreatePosixFileSystemWalk();
  }

  std::vector<std::wstring> Collect(TArchiverOptions& options, const TFileItems& files,
                                    const std::wstring& baseDir, TCollectProgress progress = {}) {
    const std::wstring before = FWalk->CurrentFolder();
    TCollectedFiles out;
    CollectFiles(*FWalk, options, files, baseDir, progress, out);
    EXPECT_EQ(FWalk->CurrentFolder(), before) << "current folder not restored";
    EXPECT_TRUE(out.temporaryFiles.empty());
    FAborted = out.aborted;
    return out.files;
  }

  std::wstring Base() const { return FTemp.File(L""); }

  TScratchFolder FTemp;
  std::unique_ptr<TFileSystemWalk> FWalk;
  bool FAborted = false;
};

using Names = std::vector<std::wstring>;

TEST_F(CollectorTest, FolderRulesTable) {
  struct Case {
    const char* what;
    std::function<void(TArchiverOptions&)> set;
    TFileItems files;
    Names expected;
  };
  const Case cases[] = {
      {"folder with r2 and hidden files: sorted case-insensitively, .git walked",
       [](TArchiverOptions& o) { o.r = 2, o.a = 1; },
       {std::wstring(L"docs")},
       {L"docs/.git/config", L"docs/.hidden", L"docs/a.txt", L"docs/B.txt", L"docs/sub/c.txt",
        L"docs/sub/y.log", L"docs/x.log"}},
      {"hidden files left out without a",
       [](TArchiverOptions& o) { o.r = 2; },
       {std::wstring(L"docs")},
       {L"docs/.git/config", L"docs/a.txt", L"docs/B.txt", L"docs/sub/c.txt", L"docs/sub/y.log",
        L"docs/x.log"}},
      {"exclusion mask applies in every subfolder",
       [](TArchiverOptions& o) {
         o.r = 2, o.jx = {L"*.log", L"docs/.git/config"};
       },
       {std::wstring(L"docs")},
       {L"docs/a.txt", L"docs/B.txt", L"docs/sub/c.txt"}},
      {"r1 with a plain name and p1 searches no subfolder",
       [](TArchiverOptions& o) { o.r = 1, o.p = 1; },
       {std::wstring(L"docs/a.txt")},
       {L"docs/a.txt"}},
      {"r1 with a mask searches subfolders",
       [](TArchiverOptions& o) { o.r = 1, o.p = 1; },
       {std::wstring(L"docs/*.log")},
       {L"docs/sub/y.log", L"docs/x.log"}},
      {"duplicates and case twins once",
       [](TArchiverOptions&) {},
       {std::vector<std::wstring>{L"top.txt", L"TOP.TXT", L"top.txt"}},
       {L"top.txt"}},
      {"an empty name walks subfolders but matches nothing",
       [](TArchiverOptions& o) { o.r = 1; },
       {std::wstring(L"")},
       {}},
      {"no names at all: the base folder", [](TArchiverOptions&) {}, {}, {L"top.txt"}},
      {"a folder name without r2 is no file",
       [](TArchiverOptions&) {},
       {std::wstring(L"docs")},
       {}},
  };
  for (const Case& c : cases) {
    TArchiverOptions options;
    options.IncludeExtraStreams = false;
    c.set(options);
    EXPECT_EQ(Collect(options, c.files, Base()), c.expected) << c.what;
    EXPECT_EQ(options.r, -1) << c.what;
    EXPECT_EQ(options.p, 1) << c.what;
  }
}

TEST_F(CollectorTest, DateRangeByLocalWriteTime) {
  auto setTime = [&](const char* name, int year) {
    std::tm local{};
    local.tm_year = year - 1900, local.tm_mon = 5, local.tm_mday = 15, local.tm_hour = 12;
    local.tm_isdst = -1;
    const time_t t = mktime(&local);
    utimbuf times{t, t};
    ASSERT_EQ(utime(fs::path(FTemp.File(FromUtf8(name))).c_str(), &times), 0);
  };
  setTime("docs/a.txt", 2001);
  setTime("docs/B.txt", 2010);
  setTime("docs/sub/c.txt", 2020);
  TArchiverOptions options;
  options.IncludeExtraStreams = false;
  options.r = 2, options.jo = L"20050101", options.job = L"l20101231120000";
  options.jx = {L"*.log", L"docs/.git/config"};
  EXPECT_EQ(Collect(options, {std::wstring(L"docs")}, Base()), (Names{L"docs/B.txt"}));
  EXPECT_TRUE(IsUnset(options.jo) && IsUnset(options.job));

  options.r = 2, options.jo = L"-1", options.job = L"2005010";  // neither is a date length
  EXPECT_EQ(Collect(options, {std::wstring(L"docs/sub")}, Base()), (Names{L"docs/sub/c.txt"}));
}

TEST_F(CollectorTest, AbsoluteNamesRelativeToBaseWithJf) {
  TArchiverOptions options;
  options.IncludeExtraStreams = false;
  options.r = 2, options.jf = -2;
  const Names got = Collect(options, {Base() + L"/docs/sub"}, Base());
  EXPECT_EQ(got, (Names{L"docs/sub/c.txt", L"docs/sub/y.log"}));
  options.r = 2, options.jf = -1;
  EXPECT_EQ(Collect(options, {Base() + L"/docs/sub"}, L"")[0], Base() + L"/docs/sub/c.txt");
}

TEST_F(CollectorTest, SymbolicLinkBackUpTheTreeIsNotEntered) {
  fs::create_directory_symlink("..", fs::path(FTemp.File(L"docs/sub")) / "loop");
  TArchiverOptions options;
  options.IncludeExtraStreams = false;
  options.r = 2;
  EXPECT_EQ(Collect(options, {std::wstring(L"docs/sub")}, Base()),
            (Names{L"docs/sub/c.txt", L"docs/sub/y.log"}));
}

TEST_F(CollectorTest, ProgressPerFileAndAbort) {
  TArchiverOptions options;
  options.IncludeExtraStreams = false;
  options.r = 2;
  Names reported;
  Collect(options, {std::wstring(L"docs")}, Base(), [&](const std::wstring& path) {
    reported.push_back(path);
    return false;
  });
  EXPECT_EQ(reported.size(), 6u);
  EXPECT_FALSE(FAborted);

  options.r = 2;
  int calls = 0;
  Collect(options, {std::wstring(L"docs")}, Base(),
          [&](const std::wstring&) { return ++calls == 2; });
  EXPECT_TRUE(FAborted);
  EXPECT_EQ(calls, 2) << "no report after the abort";
}

// A linked folder may lead back up the tree: the collector lists what is in it from nowhere,
// as the folder size the drop handling shows leaves it out.
TEST(CollectorFileSystemTest, LinkedFoldersAreNotEntered) {
  test::FakeFileSystem fileSystem;
  fileSystem.AddFile(L"docs/a.txt");
  fileSystem.AddFile(L"docs/sub/b.txt");
  fileSystem.AddLink(L"docs/sub/loop", L"docs");  // a junction loop
  fileSystem.AddLink(L"docs/elsewhere", L"other");
  fileSystem.AddFile(L"other/c.txt");
  TArchiverOptions options;
  options.IncludeExtraStreams = false;
  options.r = 2;
  TCollectedFiles out;
  CollectFiles(fileSystem, options, {std::wstring(L"docs")}, L"", {}, out);
  EXPECT_EQ(out.files, (Names{L"docs/a.txt", L"docs/sub/b.txt"}));
  EXPECT_EQ(fileSystem.folderListings, 2);
}

// Names the file system takes for one file are one file in the list, beyond ASCII too: a folder
// given as "Ärger" and as "ärger" is one folder on NTFS.
TEST(CollectorFileSystemTest, NamesThatDifferOnlyInCaseAreOneFile) {
  test::FakeFileSystem fileSystem;
  fileSystem.AddFile(L"\u00c4rger/\u00e4.txt");
  fileSystem.AddFile(L"\u03a3\u03bf\u03c6\u03af\u03b1/x.txt");  // Σοφία
  fileSystem.AddFile(L"\uff24\uff2f\uff23/y.txt");              // ＤＯＣ
  TArchiverOptions options;
  options.IncludeExtraStreams = false;
  TCollectedFiles out;
  CollectFiles(
      fileSystem, options,
      {std::wstring(L"\u00c4rger/\u00e4.txt"), std::wstring(L"\u00e4rger/\u00c4.txt"),
       std::wstring(L"\u03c3\u03bf\u03c6\u03af\u03b1/x.txt"),
       std::wstring(L"\u03a3\u039f\u03a6\u038a\u0391/x.txt"),
       std::wstring(L"\uff44\uff4f\uff43/y.txt"), std::wstring(L"\uff24\uff2f\uff23/y.txt")},
      L"", {}, out);
  EXPECT_EQ(out.files, (Names{L"\u00c4rger/\u00e4.txt", L"\u03c3\u03bf\u03c6\u03af\u03b1/x.txt",
                              L"\uff44\uff4f\uff43/y.txt"}));  // the first spelling given stays
}

TEST(CollectorFileSystemTest, NativeNameKeysFoldAsNtfsDoes) {
  const auto walk = CreatePosixFileSystemWalk();
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
  } cases[] = {
      {L"readme.TXT", L"README.txt", true},
      {L"\u00e4.txt", L"\u00c4.txt", true},                              // ä Ä
      {L"\uff41", L"\uff21", true},                                      // full-width a A
      {L"\u0444\u0430\u0439\u043b", L"\u0424\u0410\u0419\u041b", true},  // файл ФАЙЛ
      {L"stra\u00dfe", L"STRASSE", false},                               // no one-to-two folding
      {L"\U00010428", L"\U00010400", false},  // beyond one UTF-16 unit: none either
      {L"a.txt", L"b.txt", false},
      {L"[x]@.txt", L"{x}`.txt", false},  // only letters fold, not their neighbours 32 apart
  };
  for (const Case& c : cases)
    EXPECT_EQ(walk->NameKey(c.a) == walk->NameKey(c.b), c.same)
        << ToUtf8(c.a) << " " << ToUtf8(c.b);
}

// The list's order and its one path per name, with byte keys for ASCII and wide ones once a
// name goes beyond it (also after ASCII names).
TEST(CollectorFileSystemTest, SortedByNameKeyFirstSpellingKept) {
  const auto walk = CreatePosixFileSystemWalk();
  struct Case {
    Names paths;
    Names expected;
  } cases[] = {
      {{L"b", L"a", L"A", L"docs/x", L"docs-x", L"docs/X"}, {L"A", L"b", L"docs-x", L"docs/X"}},
      {{L"b.txt", L"a.txt", L"Z.txt", L"\u00e4.txt", L"\u00c4.TXT"},
       {L"a.txt", L"b.txt", L"Z.txt", L"\u00c4.TXT"}},
  };
  for (Case& c : cases) {
    Names sorted;
    SortUniqueByNameKey(*walk, c.paths, sorted);
    EXPECT_EQ(sorted, c.expected) << ToUtf8(c.expected.back());
  }
}

// ASCII lists are put in order without making keys; the order and the path kept must be the
// ones the keys give. Long shared stretches with one difference anywhere (inside and across
// 16-byte blocks), in case only or not, and the characters between "Z" and "a" (which sort
// before the lower case letters but after their upper case keys).
TEST(CollectorFileSystemTest, AsciiOrderIsTheKeysOrder) {
  const auto walk = CreatePosixFileSystemWalk();
  const std::wstring alphabet = L"aAzZ_`[/-.";
  std::uint32_t seed = 12345;
  const auto next = [&seed](std::uint32_t below) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % below;
  };
  Names paths;
  const std::wstring shared = L"tree/Group1/folder22/and-more/";
  for (int i = 0; i < 3000; ++i) {
    std::wstring path = shared.substr(0, next(static_cast<std::uint32_t>(shared.size()) + 1));
    const std::uint32_t tail = next(4);
    for (std::uint32_t k = 0; k < tail; ++k) path += alphabet[next(alphabet.size())];
    if (!path.empty() && next(2) == 0) {
      const size_t at = next(static_cast<std::uint32_t>(path.size()));
      path[at] = alphabet[next(alphabet.size())];
    }
    paths.push_back(path);
  }
  std::vector<std::pair<std::wstring, std::wstring>> keyed;
  for (const std::wstring& path : paths) keyed.emplace_back(walk->NameKey(path), path);
  std::sort(keyed.begin(), keyed.end());
  Names expected;
  for (size_t i = 0; i < keyed.size(); ++i)
    if (i == 0 || keyed[i].first != keyed[i - 1].first) expected.push_back(keyed[i].second);

  Names sorted;
  SortUniqueByNameKey(*walk, paths, sorted);
  EXPECT_EQ(sorted, expected);
}

TEST(PathMaskTest, WindowsWildcards) {
  struct Case {
    const wchar_t* name;
    const wchar_t* mask;
    bool matches;
  } cases[] = {
      {L"README", L"*.*", true},  {L"a.TXT", L"*.txt", true}, {L"a.txt.bak", L"*.txt", false},
      {L"abc", L"a?c", true},     {L"ac", L"a?c", false},     {L"Makefile", L"makefile", true},
      {L"name", L"name.*", true}, {L"x.log", L"*", true},     {L"ab", L"a*b*", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << ToUtf8(c.name) << " " << ToUtf8(c.mask);
  }
}

TEST(RelativePathTest, Cases) {
  EXPECT_EQ(RelativePath(L"C:\\work", L"C:\\work\\docs\\a.txt"), L"docs\\a.txt");
  EXPECT_EQ(RelativePath(L"C:\\work\\", L"C:\\other\\a.txt"), L"..\\other\\a.txt");
  EXPECT_EQ(RelativePath(L"C:\\work", L"D:\\work\\a.txt"), L"D:\\work\\a.txt");
  EXPECT_EQ(RelativePath(L"C:\\work", L"docs\\a.txt"), L"docs\\a.txt");
}

}  // namespace
}  // namespace vlm
