// The decision for each dropped item: size rule, extension rule, questions, packing and hand-over.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/settings_form.h"
#include "compose/dropped_item.h"
#include "tests/unit/compose/drop_fakes.h"

namespace vlm {
namespace {

using test::Narrow;
using test::TDropWorld;

const auto kCompose = reinterpret_cast<HostWnd>(100);
const auto kMain = reinterpret_cast<HostWnd>(1);
constexpr unsigned kDropId = 0x233;

constexpr int kOk = 1, kCancel = 2, kYes = 6, kNo = 7;

class DropItemTest : public ::testing::Test {
 protected:
  DropItemTest() {
    settings.B2OhWnd = kMain;
    settings.TempFolder = world.TempFolder();
    settings.WriteWord = L">----- Attachment File -----<";
  }

  // Handles one item below the scratch folder dropped onto the compose window (or the main window).
  TItemOutcome Drop(const std::wstring& relative, bool onMain = false) {
    message = std::make_unique<TDropMessage>(settings, services, messageId);
    message->FromMainWindow = onMain;
    message->ComposeWindow = onMain ? nullptr : kCompose;
    return ProcessDroppedItem(world.Path(relative), *message);
  }

  std::string Log() const {
    std::string all;
    for (const auto& line : world.log) all += line + "\n";
    return all;
  }

  TDropWorld world;
  TDropServices services = world.Services();
  TDropSettings settings = DropSettingsOf(TForm1{});
  unsigned messageId = kDropId;
  std::unique_ptr<TDropMessage> message;
};

TEST_F(DropItemTest, LargePdfAnsweredNoIsZippedIntoTheTemporaryFolderWithItsListing) {
  settings.OverSizeCheck = true;
  settings.WriteFileName = true;
  world.AddFile(L"work/report.pdf", 3145728);
  world.answers = {kNo};

  EXPECT_EQ(Drop(L"work/report.pdf"), TItemOutcome::Delivered);

  ASSERT_EQ(world.texts.size(), 1u);
  EXPECT_EQ(Narrow(world.texts[0]),
            "添付ファイル「report.pdf」のサイズは1MByte以上(3073kByte)です。\r\n"
            "このまま送信しても良いですか？\r\n\r\n"
            "「はい」・・・・そのまま添付\r\n「いいえ」・・・ZIP圧縮して添付\r\n"
            "「キャンセル」・キャンセル");
  EXPECT_EQ(Narrow(world.captions[0]), "添付ファイルの確認");
  EXPECT_EQ(world.flags[0], 0x3u | 0x30u | 0x100u);  // Yes/No/Cancel, warning, No default

  ASSERT_EQ(world.archive.packs.size(), 1u);
  const auto& pack = world.archive.packs[0];
  EXPECT_EQ(world.Shown(pack.fileName), "~/Temp/Velmora/1/report.zip");
  EXPECT_EQ(pack.type, atZip);
  EXPECT_EQ(pack.options.x, 0);
  EXPECT_EQ(pack.options.r, 0);
  EXPECT_EQ(pack.options.jso, 1);
  EXPECT_EQ(pack.options.n, 1);
  EXPECT_EQ(pack.outputSize, 8192);
  EXPECT_EQ(pack.options.UserOptions, L"");
  EXPECT_EQ(pack.files, std::vector<std::wstring>{world.Path(L"work/report.pdf")});
  EXPECT_EQ(pack.baseDir, L"");
  EXPECT_TRUE(world.archive.Options().IncludeExtraStreams);

  EXPECT_EQ(Log(),
            "box 添付ファイルの確認\n"
            "status 100 [「ZIP」に圧縮しています。]\n"
            "temp folder\n"
            "pack ~/Temp/Velmora/1/report.zip\n"
            "pause 100\n"
            "attach 100 ~/Temp/Velmora/1/report.zip [\r\n>----- Attachment File -----<\r\n"
            "report.pdf in report.zip\t(3073kByte -> 5000Byte)\r\n]\n"
            "status 100 []\n");
  EXPECT_EQ(messageId, 0u);
}

TEST_F(DropItemTest, SizeRuleAsksOnlyAboveTheThresholdInMBytesOf1024000) {
  struct Case {
    std::int64_t size;
    std::wstring threshold;
    wchar_t separator;
    bool asked;
    const char* quoted;  // the threshold as the question shows it
  } cases[] = {
      {1024000, L"1", L'.', false, ""},
      {1024001, L"1", L'.', true, "1MByte"},
      {1024001, L"abc", L'.', true, "abcMByte"},
      {1536001, L"1.5", L'.', true, "1.5MByte"},
      {1536000, L"1.5", L'.', false, ""},
      {1536001, L"1,5", L',', true, "1,5MByte"},
      {1100000, L"1,5", L'.', true, "1,5MByte"},  // not a number there: counts as 1
      {0, L"0", L'.', false, ""},
      {1, L"0", L'.', true, "0MByte"},
      {-1, L"-5", L'.', false, ""},  // a size that cannot be read is never large
      {5000000, L" 10 ", L'.', false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " / " + Narrow(c.threshold));
    world.ClearRecords();
    settings.OverSizeCheck = true;
    settings.OverSize = c.threshold;
    settings.DecimalSeparator = c.separator;
    if (c.size >= 0)
      world.AddFile(L"a/notes.txt", c.size);
    else
      ASSERT_TRUE(RemoveFile(world.Path(L"a/notes.txt")));
    if (c.asked) world.answers = {kYes};
    if (c.size < 0) world.answers = {kOk};  // the file is gone: told, not attached
    Drop(L"a/notes.txt");
    ASSERT_EQ(world.texts.size(), c.asked || c.size < 0 ? 1u : 0u);
    if (c.asked) {
      EXPECT_NE(Narrow(world.texts[0]).find(c.quoted), std::string::npos);
    }
    EXPECT_TRUE(world.archive.packs.empty());
  }
}

// The file is deleted while its size question is up, and the answer is "attach as it is".
TEST_F(DropItemTest, FileGoneWhileItsQuestionIsUpIsToldAndNotAttached) {
  settings.OverSizeCheck = true;
  world.AddFile(L"d/big.bin", 5000000);
  world.answers = {kYes, kOk};
  world.duringQuestion = [&] { (void)RemoveFile(world.Path(L"d/big.bin")); };
  EXPECT_EQ(Drop(L"d/big.bin"), TItemOutcome::Skipped);
  EXPECT_EQ(messageId, 0u);
  ASSERT_EQ(world.texts.size(), 2u);
  EXPECT_EQ(Narrow(world.texts[1]),
            "「big.bin」が見つからないため添付しません。\r\n"
            "確認の間にファイルが移動または削除されました。");
  EXPECT_EQ(Log().find("attach"), std::string::npos) << Log();
}

// "résumé.txt" and "resume.txt" dropped together, in either order, reach the recipient under two
// names; so do two archives of one stem.
TEST_F(DropItemTest, AttachmentsOfOneDropHaveNamesOfTheirOwn) {
  world.AddFile(L"d/r\u00e9sum\u00e9.txt", 10);  // natively "é" becomes "_": r_sum_.txt
  world.AddFile(L"d/r_sum_.txt", 20);
  for (const bool accentedFirst : {true, false}) {
    SCOPED_TRACE(accentedFirst);
    world.ClearRecords();
    message = std::make_unique<TDropMessage>(settings, services, messageId);
    message->ComposeWindow = kCompose;
    const std::wstring accented = world.Path(L"d/r\u00e9sum\u00e9.txt");
    const std::wstring plain = world.Path(L"d/r_sum_.txt");
    for (const std::wstring& item :
         accentedFirst ? std::vector{accented, plain} : std::vector{plain, accented})
      EXPECT_EQ(ProcessDroppedItem(item, *message), TItemOutcome::Delivered);
    EXPECT_EQ(Log(), accentedFirst
                         ? "attach 100 ~/Temp/Velmora/1/r_sum_.txt []\nstatus 100 []\n"
                           "attach 100 ~/Temp/Velmora/2/r_sum_ (2).txt []\nstatus 100 []\n"
                         : "attach 100 ~/d/r_sum_.txt []\nstatus 100 []\n"
                           "attach 100 ~/Temp/Velmora/1/r_sum_ (2).txt []\nstatus 100 []\n");
  }
  EXPECT_EQ(FileSize(world.Path(L"Temp/Velmora/1/r_sum_ (2).txt")), 10);
}

TEST_F(DropItemTest, LargeArchiveAsksTheArchiveSizeQuestion) {
  settings.OverSizeCheck = true;
  world.AddFile(L"p/Photos.ZIP", 5000000);
  world.AddFile(L"p/later.txt", 10);

  world.answers = {kCancel};
  EXPECT_EQ(Drop(L"p/Photos.ZIP"), TItemOutcome::EndMessage);
  EXPECT_EQ(world.flags[0], 0x1u | 0x30u | 0x100u);  // OK/Cancel, Cancel default
  EXPECT_EQ(Narrow(world.texts[0]),
            "添付ファイル「Photos.ZIP」のサイズは1MByte以上(4883kByte)です。\r\n"
            "このまま送信しても良いですか？\r\n\r\n"
            "「OK」・・・・・そのまま添付\r\n「キャンセル」・キャンセル");
  EXPECT_EQ(messageId, 0u);
  EXPECT_EQ(Log(), "box 添付ファイルの確認\n");

  // OK: attached as it is by the plug-in, so a mixed drop cannot lose it.
  world.log.clear();
  world.answers = {kOk};
  settings.ArchiveCheck = false;
  EXPECT_EQ(Drop(L"p/Photos.ZIP"), TItemOutcome::Delivered);
  EXPECT_EQ(Log(), "box 添付ファイルの確認\nattach 100 ~/p/Photos.ZIP []\nstatus 100 []\n");
  EXPECT_TRUE(world.archive.packs.empty());
}

TEST_F(DropItemTest, LargeFolderNamedLikeAnArchiveIsAskedAboutAndPackedAsAFolder) {
  settings.OverSizeCheck = true;
  world.AddFolder(L"work/backup.zip", 5000000);
  world.AddFolder(L"work/old.LZH", 5000000);
  for (const wchar_t* folder : {L"work/backup.zip", L"work/old.LZH"}) {
    SCOPED_TRACE(Narrow(folder));
    world.archive.packs.clear();
    world.texts.clear();
    world.answers = {kOk};
    EXPECT_EQ(Drop(folder), TItemOutcome::Delivered);
    ASSERT_EQ(world.texts.size(), 1u);
    EXPECT_EQ(Narrow(world.texts[0]).rfind("添付フォルダ「", 0), 0u) << Narrow(world.texts[0]);
    ASSERT_EQ(world.archive.packs.size(), 1u);
    EXPECT_EQ(world.archive.packs[0].baseDir, world.Path(L"work"));
    EXPECT_EQ(world.archive.packs[0].files,
              std::vector<std::wstring>{std::wstring(folder).substr(5)});
    EXPECT_EQ(world.archive.packs[0].options.r, 2);
  }
  EXPECT_NE(Log().find("attach 100 ~/Temp/Velmora/1/backup.zip []"), std::string::npos) << Log();
  EXPECT_NE(Log().find("attach 100 ~/Temp/Velmora/2/old.zip []"), std::string::npos) << Log();
  EXPECT_EQ(Log().find("attach 100 ~/work"), std::string::npos) << Log();
}

TEST_F(DropItemTest, LargeFolderQuestionAndCancelledFileQuestion) {
  settings.OverSizeCheck = true;
  world.AddFolder(L"work/docs", 9000000);
  world.AddFile(L"work/big.bin", 9000000);

  world.answers = {kCancel};
  EXPECT_EQ(Drop(L"work/docs"), TItemOutcome::Skipped);
  EXPECT_EQ(world.flags[0], 0x1u | 0x30u);  // OK/Cancel, OK default
  EXPECT_EQ(Narrow(world.texts[0]),
            "添付フォルダ「docs」のサイズは1MByte以上(8790kByte)です。\r\n"
            "このまま送信しても良いですか？\r\n\r\n"
            "「OK」・・・・・ZIP圧縮して添付\r\n「キャンセル」・キャンセル");
  EXPECT_EQ(messageId, 0u);

  messageId = kDropId;
  world.answers = {kCancel};
  EXPECT_EQ(Drop(L"work/big.bin"), TItemOutcome::Skipped);
  EXPECT_EQ(messageId, 0u);
  EXPECT_TRUE(world.archive.packs.empty());
}

TEST_F(DropItemTest, PartialSendingTreatsLargeItemsAsSmall) {
  settings.OverSizeCheck = true;
  world.host.partialSending = true;
  world.AddFile(L"a/movie.mp4", 90000000);
  world.AddFolder(L"a/album", 90000000);

  EXPECT_EQ(Drop(L"a/movie.mp4"), TItemOutcome::Delivered);
  EXPECT_EQ(Drop(L"a/album"), TItemOutcome::Delivered);
  EXPECT_TRUE(world.texts.empty());
  ASSERT_EQ(world.archive.packs.size(), 1u);
  EXPECT_EQ(world.Shown(world.archive.packs[0].fileName), "~/Temp/Velmora/1/album.zip");
}

TEST_F(DropItemTest, OutlookBlockedExtensionAsksAfterTheUnderscoreQuestion) {
  struct Case {
    const char* name;
    bool underscore;
    std::deque<int> answers;
    TItemOutcome outcome;
    const char* packed;  // empty: not packed
    const char* attached;
  } cases[] = {
      {"yes attaches as is", false, {kYes}, TItemOutcome::Delivered, "", "~/d/setup.exe"},
      {"no compresses",
       false,
       {kNo},
       TItemOutcome::Delivered,
       "~/Temp/Velmora/1/setup.zip",
       "~/Temp/Velmora/1/setup.zip"},
      {"cancel skips", false, {kCancel}, TItemOutcome::Skipped, "", ""},
      {"underscore",
       true,
       {kYes, kNo},
       TItemOutcome::Delivered,
       "~/Temp/Velmora/1/setup.zi_p",
       "~/Temp/Velmora/1/setup.zi_p"},
      {"underscore asked even when sent as is",
       true,
       {kYes, kYes},
       TItemOutcome::Delivered,
       "",
       "~/d/setup.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    world.ClearRecords();
    messageId = kDropId;
    settings.FileNameChange = c.underscore;
    world.AddFile(L"d/setup.exe", 4000);
    world.answers = c.answers;
    EXPECT_EQ(Drop(L"d/setup.exe"), c.outcome);
    EXPECT_TRUE(world.answers.empty());
    EXPECT_EQ(messageId, 0u);
    const auto& captions = world.captions;
    if (c.underscore) {
      EXPECT_EQ(Narrow(captions[0]), "圧縮拡張子の確認");
      EXPECT_EQ(Narrow(world.texts[0]), "拡張子に\"_\"を挿入しますか？");
      EXPECT_EQ(world.flags[0], 0x4u | 0x30u);
    }
    EXPECT_EQ(Narrow(world.texts.back()),
              "添付ファイル「setup.exe」はOutlook系では開けません。\r\n"
              "このまま送信しても良いですか？\r\n\r\n"
              "「はい」・・・・そのまま添付\r\n「いいえ」・・・ZIP圧縮して添付\r\n"
              "「キャンセル」・キャンセル");
    EXPECT_EQ(world.flags.back(), 0x3u | 0x30u | 0x100u);
    EXPECT_EQ(world.archive.packs.empty() ? "" : world.Shown(world.archive.packs[0].fileName),
              c.packed);
    const std::string log = Log();
    if (*c.attached) {
      EXPECT_NE(log.find(std::string("attach 100 ") + c.attached + " []"), std::string::npos)
          << log;
    } else {
      EXPECT_EQ(log.find("attach"), std::string::npos) << log;
    }
  }
}

TEST_F(DropItemTest, SmallPlainFileIsAttachedWithoutQuestionAndWithItsListing) {
  settings.WriteFileName = true;
  world.AddFile(L"d/readme.txt", 10240);
  EXPECT_EQ(Drop(L"d/readme.txt"), TItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "attach 100 ~/d/readme.txt [\r\n>----- Attachment File -----<\r\n"
            "readme.txt\t(11kByte)\r\n]\nstatus 100 []\n");
}

TEST_F(DropItemTest, FolderIsPackedUnderItsOwnNameFromItsParentWithoutTheOutlookQuestion) {
  settings.WriteFileName = true;
  world.AddFolder(L"work/docs", 20480);
  EXPECT_EQ(Drop(L"work/docs"), TItemOutcome::Delivered);
  EXPECT_TRUE(world.texts.empty());
  ASSERT_EQ(world.archive.packs.size(), 1u);
  const auto& pack = world.archive.packs[0];
  EXPECT_EQ(world.Shown(pack.fileName), "~/Temp/Velmora/1/docs.zip");
  EXPECT_EQ(pack.files, std::vector<std::wstring>{L"docs"});
  EXPECT_EQ(pack.baseDir, world.Path(L"work"));
  EXPECT_EQ(pack.options.x, 1);
  EXPECT_EQ(pack.options.r, 2);
  EXPECT_EQ(pack.options.a, 1);
  EXPECT_EQ(pack.options.n, 0);
  EXPECT_EQ(pack.options.jso, 1);
  EXPECT_TRUE(pack.options.IncludeExtraStreams);
  // The archiver moved into the base folder; the drop handling moved back.
  EXPECT_EQ(pack.currentDirectory, world.Root());
  EXPECT_EQ(CurrentFolder(), world.Root());
  EXPECT_NE(Log().find("pack ~/Temp/Velmora/1/docs.zip\npause 100\n"), std::string::npos) << Log();
  EXPECT_NE(Log().find("docs in docs.zip\t(21kByte -> 5000Byte)"), std::string::npos) << Log();
}

// Names the code page cannot hold reach the host and the archivers as copies under the nearest
// names it can (natively there is no best-fit table, so "é" becomes "_").
TEST_F(DropItemTest, FileNamedOutsideTheCodePageIsAttachedAsACopyUnderTheNearestName) {
  settings.WriteFileName = true;
  world.AddFile(L"d/r\u00e9sum\u00e9.pdf", 10240);
  world.AddFile(L"d/plain.pdf", 10240);
  EXPECT_EQ(Drop(L"d/r\u00e9sum\u00e9.pdf"), TItemOutcome::Delivered);
  EXPECT_EQ(Drop(L"d/plain.pdf"), TItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "attach 100 ~/Temp/Velmora/1/r_sum_.pdf [\r\n>----- Attachment File -----<\r\n"
            "r_sum_.pdf\t(11kByte)\r\n]\nstatus 100 []\n"
            "attach 100 ~/d/plain.pdf [\r\n>----- Attachment File -----<\r\n"
            "plain.pdf\t(11kByte)\r\n]\nstatus 100 []\n");
  EXPECT_EQ(FileSize(world.Path(L"Temp/Velmora/1/r_sum_.pdf")), 10240);
}

// Two files of one drop with the same nearest name: the second copy must not replace the first,
// which the host already holds.
TEST_F(DropItemTest, CopiesOfOneDropWithTheSameNearestNameAreNumbered) {
  world.AddFile(L"a/r\u00e9sum\u00e9.pdf", 100);
  world.AddFile(L"b/r\u00e9sum\u00e9.pdf", 200);
  world.AddFile(L"c/R\u00e9sum\u00e9.pdf", 300);
  message = std::make_unique<TDropMessage>(settings, services, messageId);
  message->ComposeWindow = kCompose;
  for (const wchar_t* path :
       {L"a/r\u00e9sum\u00e9.pdf", L"b/r\u00e9sum\u00e9.pdf", L"c/R\u00e9sum\u00e9.pdf"})
    EXPECT_EQ(ProcessDroppedItem(world.Path(path), *message), TItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "attach 100 ~/Temp/Velmora/1/r_sum_.pdf []\nstatus 100 []\n"
            "attach 100 ~/Temp/Velmora/2/r_sum_ (2).pdf []\nstatus 100 []\n"
            "attach 100 ~/Temp/Velmora/3/R_sum_ (3).pdf []\nstatus 100 []\n");
  EXPECT_EQ(FileSize(world.Path(L"Temp/Velmora/1/r_sum_.pdf")), 100);
  EXPECT_EQ(FileSize(world.Path(L"Temp/Velmora/2/r_sum_ (2).pdf")), 200);
  EXPECT_EQ(FileSize(world.Path(L"Temp/Velmora/3/R_sum_ (3).pdf")), 300);
}

TEST_F(DropItemTest, ItemNamedOutsideTheCodePageIsPackedFromACopyUnderTheNearestName) {
  struct Case {
    std::wstring item;
    bool folder;
    std::wstring packed;  // relative to the base folder where one is given
    const char* listing;
  } cases[] = {
      {L"d/r\u00e9sum\u00e9.pdf", false, L"Temp/Velmora/1/staging/r_sum_.pdf",
       "r_sum_.pdf in r_sum_.zip"},
      // The folder's own name fits; a file inside does not.
      {L"d/docs", true, L"docs", "docs in docs.zip"},
  };
  for (const Case& c : cases) {
    world.ClearRecords();
    settings.ArchiveCheck = true;
    settings.WriteFileName = true;
    if (c.folder) {
      world.AddFolder(c.item, 3000);
      world.AddFile(c.item + L"/caf\u00e9.txt", 3000);
    } else {
      world.AddFile(c.item, 3000);
    }
    EXPECT_EQ(Drop(c.item), TItemOutcome::Delivered);
    ASSERT_EQ(world.archive.packs.size(), 1u);
    const auto& pack = world.archive.packs[0];
    EXPECT_TRUE(pack.filesPresent);
    EXPECT_EQ(pack.files, std::vector<std::wstring>{c.folder ? c.packed : world.Path(c.packed)});
    EXPECT_EQ(pack.baseDir, c.folder ? world.Path(L"Temp/Velmora/1/staging") : L"");
    EXPECT_NE(Log().find(c.listing), std::string::npos) << Log();
    // The staging copy is gone as soon as the archive is made.
    EXPECT_FALSE(world.Exists(L"Temp/VelmoraStaging"));
    EXPECT_EQ(CurrentFolder(), world.Root());
  }
}

TEST_F(DropItemTest, CopyUnderTheNearestNameThatFailsAttachesNothingAndSaysWhy) {
  // A pipe is no file to copy.
  std::filesystem::create_directories(FilePath(world.Path(L"d")));
  ASSERT_EQ(mkfifo(ToUtf8(world.Path(L"d/r\u00e9sum\u00e9.pdf")).c_str(), 0600), 0);
  settings.ArchiveCheck = false;
  world.answers = {kOk};
  EXPECT_EQ(Drop(L"d/r\u00e9sum\u00e9.pdf"), TItemOutcome::Skipped);
  EXPECT_EQ(messageId, 0u);
  ASSERT_EQ(world.texts.size(), 1u);
  EXPECT_EQ(world.Shown(world.texts[0]),
            "「résumé.pdf」は添付しません。\r\n"
            "名前にシステムの文字コードで表せない文字があるため、表せる名前で一時フォルダに"
            "コピーしようとしましたが、できませんでした。\r\n"
            "「~/d/résumé.pdf」: " +
                Narrow(CopyFileOver(world.Path(L"d/r\u00e9sum\u00e9.pdf"), world.Path(L"x"))));
  EXPECT_EQ(Narrow(world.captions[0]), "添付ファイルの確認");
  EXPECT_EQ(Log().find("attach"), std::string::npos) << Log();

  // Packed, the staging folder goes too and no archive is attached.
  settings.ArchiveCheck = true;
  world.answers = {kOk};
  messageId = kDropId;
  world.log.clear();
  EXPECT_EQ(Drop(L"d/r\u00e9sum\u00e9.pdf"), TItemOutcome::Skipped);
  EXPECT_TRUE(world.archive.packs.empty());
  EXPECT_EQ(Log().find("attach"), std::string::npos) << Log();
  EXPECT_FALSE(world.Exists(L"Temp/VelmoraStaging"));
}

TEST_F(DropItemTest, EverythingCompressedUsesLhaAndLeavesAnOlderArchiveAlone) {
  settings.ArchiveCheck = true;
  settings.OverSizeCheck = true;  // not applied when everything is compressed
  settings.ArchiveType = 0;
  world.AddFile(L"d/huge.doc", 99000000);
  world.AddFile(L"Temp/huge.lzh", 1);
  EXPECT_EQ(Drop(L"d/huge.doc"), TItemOutcome::Delivered);
  EXPECT_TRUE(world.texts.empty());
  EXPECT_EQ(world.archive.packs.at(0).type, atLha);
  EXPECT_NE(
      Log().find(
          "status 100 [「LHA」に圧縮しています。]\ntemp folder\npack ~/Temp/Velmora/1/huge.lzh\n"),
      std::string::npos)
      << Log();
  EXPECT_EQ(FileSize(world.Path(L"Temp/Velmora/1/huge.lzh")), 5000);
  EXPECT_EQ(FileSize(world.Path(L"Temp/huge.lzh")), 1);
}

TEST_F(DropItemTest, PasswordGoesOnTheCommandLineQuotedWhenItHasBlanks) {
  struct Case {
    int format;
    std::deque<int> answers;
    std::wstring password;
    const char* userOptions;  // nullptr: not packed
  } cases[] = {
      {1, {kYes}, L"secret", "-P secret"},
      {1, {kYes}, L"two words", "-P \"two words\""},
      {1, {kNo}, L"unused", ""},
      {1, {kYes, kOk}, L"", nullptr},      // closed empty: told, not packed
      {1, {kYes, kOk}, L"a\"b", nullptr},  // a quote cannot be written
      {0, {}, L"unused", ""},              // LHA never asks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.password));
    world.ClearRecords();
    settings.ArchiveCheck = true;
    settings.CheckPassword = true;
    settings.ArchiveType = c.format;
    world.AddFile(L"d/plan.xls", 100);
    world.answers = c.answers;
    world.password = c.password;
    const TItemOutcome outcome = Drop(L"d/plan.xls");
    EXPECT_TRUE(world.answers.empty());
    if (c.format == 1) {
      EXPECT_EQ(Narrow(world.captions.at(0)), "パスワード付き圧縮の確認");
    }
    if (c.userOptions) {  // packed
      EXPECT_EQ(outcome, TItemOutcome::Delivered);
      EXPECT_EQ(Narrow(world.archive.packs.at(0).options.UserOptions), c.userOptions);
    } else {
      EXPECT_EQ(outcome, TItemOutcome::Skipped);
      EXPECT_TRUE(world.archive.packs.empty());
      EXPECT_EQ(messageId, 0u);
    }
  }
}

TEST_F(DropItemTest, ArchiverFailuresAttachNothing) {
  struct Case {
    const char* name;
    bool noComponent, throws, writes;
    int result;
    TItemOutcome outcome;
    const char* log;
  } cases[] = {
      {"archiver missing", false, true, false, 0, TItemOutcome::EndMessage,
       "status 100 [「ZIP」に圧縮しています。]\ntemp folder\npack ~/Temp/Velmora/1/setup.zip\n"
       "box 圧縮用DLLがありません\ncaldix\n"},
      {"no component", true, false, false, 0, TItemOutcome::EndMessage,
       "status 100 [「ZIP」に圧縮しています。]\ntemp folder\nbox 圧縮用DLLがありません\ncaldix\n"},
      {"no archive written", false, false, false, 0, TItemOutcome::Skipped,
       "status 100 [「ZIP」に圧縮しています。]\ntemp folder\npack ~/Temp/Velmora/1/setup.zip\n"
       "box 添付ファイルの確認\nstatus 100 []\n"},
      {"archiver error", false, false, false, 0x8020, TItemOutcome::Skipped,
       "status 100 [「ZIP」に圧縮しています。]\ntemp folder\npack ~/Temp/Velmora/1/setup.zip\n"
       "box 添付ファイルの確認\nstatus 100 []\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    world.ClearRecords();
    settings.ArchiveCheck = true;
    world.AddFile(L"d/setup.exe", 100);
    world.archive.noComponent = c.noComponent;
    world.archive.throws = c.throws;
    world.archive.writesArchive = c.writes;
    world.archive.result = c.result;
    world.answers = {kOk};
    EXPECT_EQ(Drop(L"d/setup.exe"), c.outcome);
    EXPECT_EQ(Log(), c.log);
    // Nothing is left of an archive that is not attached.
    EXPECT_FALSE(world.Exists(L"Temp/Velmora/1"));
  }
  EXPECT_EQ(Narrow(world.texts[0]),
            "「setup.exe」を「ZIP」に圧縮できませんでした。(エラーコード 32800)\r\n"
            "このファイルは添付しません。");
}

// The archiver packed what it could and reported a file it could not open: the archive lacks a
// file the user dropped, so it goes only when the user agrees.
TEST_F(DropItemTest, ArchiveWrittenWithAWarningCodeGoesOnlyWhenTheUserAgrees) {
  settings.WriteFileName = true;
  world.AddFolder(L"work/docs", 20480);
  world.archive.result = 0x800D;  // a file could not be opened; the others were packed
  for (const int answer : {kYes, kNo}) {
    SCOPED_TRACE(answer);
    world.ClearRecords();
    world.answers = {answer};
    EXPECT_EQ(Drop(L"work/docs"), answer == kYes ? TItemOutcome::Delivered : TItemOutcome::Skipped);
    ASSERT_EQ(world.texts.size(), 1u);
    EXPECT_EQ(
        Narrow(world.texts[0]),
        "「docs」を「ZIP」に圧縮しましたが、圧縮用DLLがエラーコード 32781 を返しました。\r\n"
        "書庫に入っていないファイルがあるかもしれません(ほかのプログラムが開いているファイルな"
        "ど)。\r\nこのまま添付しますか？\r\n\r\n"
        "「はい」・・・・この書庫を添付\r\n「いいえ」・・・添付しない");
    EXPECT_EQ(world.flags[0], 0x4u | 0x30u | 0x100u);  // Yes/No, warning, No default
    EXPECT_EQ(Log().find("attach") != std::string::npos, answer == kYes) << Log();
    EXPECT_EQ(world.Exists(L"Temp/Velmora/1/docs.zip"), answer == kYes);
  }
  EXPECT_NE(Log().find("box 添付ファイルの確認\nstatus 100 []\n"), std::string::npos) << Log();
}

// The archiver called the archive good but left files out: the box names them (ten at most).
TEST_F(DropItemTest, ArchiveLackingFilesNamesThemBeforeItIsAttached) {
  world.AddFolder(L"work/docs", 100);
  for (int i = 1; i <= 12; ++i) world.archive.missing.push_back(L"docs\\f" + std::to_wstring(i));
  world.answers = {kYes};
  EXPECT_EQ(Drop(L"work/docs"), TItemOutcome::Delivered);
  ASSERT_EQ(world.texts.size(), 1u);
  EXPECT_EQ(Narrow(world.texts[0]),
            "「docs」を「ZIP」に圧縮しましたが、次のファイルが書庫に入っていません。\r\n"
            "　docs\\f1\r\n　docs\\f2\r\n　docs\\f3\r\n　docs\\f4\r\n　docs\\f5\r\n"
            "　docs\\f6\r\n　docs\\f7\r\n　docs\\f8\r\n　docs\\f9\r\n　docs\\f10\r\n"
            "　ほか 2 件\r\nこのまま添付しますか？\r\n\r\n"
            "「はい」・・・・この書庫を添付\r\n「いいえ」・・・添付しない");
  EXPECT_NE(Log().find("attach 100 ~/Temp/Velmora/1/docs.zip"), std::string::npos) << Log();
}

// The host reads an attachment only when the message is sent: every archive gets a name no
// other pending attachment holds, and no file already in the temporary folder is replaced.
TEST_F(DropItemTest, EveryArchiveHasAFolderOfItsOwnAndNothingThereIsReplaced) {
  settings.ArchiveCheck = true;
  world.AddFile(L"d/report.doc", 100);
  world.AddFile(L"d/report.pdf", 200);
  world.AddFile(L"Temp/report.zip", 7);  // an earlier draft's, or the user's own
  message = std::make_unique<TDropMessage>(settings, services, messageId);
  message->ComposeWindow = kCompose;
  for (const wchar_t* item : {L"d/report.doc", L"d/report.pdf", L"Temp/report.zip"})
    EXPECT_EQ(ProcessDroppedItem(world.Path(item), *message), TItemOutcome::Delivered);
  ASSERT_EQ(world.archive.packs.size(), 3u);
  EXPECT_EQ(world.Shown(world.archive.packs[0].fileName), "~/Temp/Velmora/1/report.zip");
  EXPECT_EQ(world.Shown(world.archive.packs[1].fileName), "~/Temp/Velmora/2/report (2).zip");
  EXPECT_EQ(world.Shown(world.archive.packs[2].fileName), "~/Temp/Velmora/3/report (3).zip");
  EXPECT_EQ(world.archive.packs[2].files,
            std::vector<std::wstring>{world.Path(L"Temp/report.zip")});
  for (const wchar_t* kept : {L"Temp/Velmora/1/report.zip", L"Temp/Velmora/2/report (2).zip",
                              L"Temp/Velmora/3/report (3).zip"})
    EXPECT_TRUE(world.Exists(kept)) << Narrow(kept);
  EXPECT_EQ(FileSize(world.Path(L"Temp/report.zip")), 7);
  EXPECT_EQ(FileSize(world.Path(L"d/report.doc")), 100);

  // A folder someone else made under a number is left alone; the next number is taken.
  world.AddFolder(L"Temp/Velmora/4", 0);
  world.AddFile(L"Temp/Velmora/4/theirs.txt", 1);
  EXPECT_EQ(Drop(L"d/report.doc"), TItemOutcome::Delivered);
  EXPECT_EQ(world.Shown(world.archive.packs.back().fileName), "~/Temp/Velmora/5/report.zip");
  EXPECT_TRUE(world.Exists(L"Temp/Velmora/4/theirs.txt"));
}

TEST_F(DropItemTest, NoWorkFolderAttachesNothingAndSaysWhy) {
  settings.ArchiveCheck = true;
  world.AddFile(L"d/plan.xls", 100);
  world.AddFile(L"Temp/Velmora", 1);  // a file where the folder belongs
  world.answers = {kOk};
  EXPECT_EQ(Drop(L"d/plan.xls"), TItemOutcome::Skipped);
  EXPECT_EQ(messageId, 0u);
  EXPECT_TRUE(world.archive.packs.empty());
  EXPECT_EQ(world.Shown(world.texts.at(0)),
            "「plan.xls」は添付しません。\r\n"
            "一時フォルダに作業用のフォルダを作れませんでした。一時フォルダの空きと書き込みの"
            "権限を確かめてください。\r\n"
            "ファイル \"~/Temp/Velmora\" を作成できません。");
  EXPECT_EQ(Log().find("attach"), std::string::npos) << Log();
}

TEST_F(DropItemTest, MissingArchiverNoticeText) {
  settings.ArchiveCheck = true;
  world.AddFile(L"d/a.txt", 1);
  world.archive.throws = true;
  world.answers = {kOk};
  Drop(L"d/a.txt");
  EXPECT_EQ(Narrow(world.texts[0]),
            "caldixを起動します。\r\n「開始」をクリックすると自動でDLLがインストールされます。\r\n"
            "「開始」を押してください。");
  EXPECT_EQ(world.flags[0], 0x30u);
}

TEST_F(DropItemTest, DriveRootIsRefusedBeforeAnyScan) {
  settings.OverSizeCheck = true;
  world.answers = {kOk};
  message = std::make_unique<TDropMessage>(settings, services, messageId);
  message->ComposeWindow = kCompose;
  // A root folder has no name of its own ("C:\\" on Windows).
  EXPECT_EQ(ProcessDroppedItem(L"/", *message), TItemOutcome::Skipped);
  EXPECT_EQ(Log(), "box 添付ファイルの確認\n");
  EXPECT_EQ(messageId, 0u);
}

TEST_F(DropItemTest, ItemsDroppedOnTheMainWindowShareOneNewComposeWindow) {
  settings.WriteFileName = true;
  settings.WriteWord = L"W";
  world.AddFile(L"d/a.txt", 1);
  world.AddFile(L"d/b.txt", 2);
  message = std::make_unique<TDropMessage>(settings, services, messageId);
  message->FromMainWindow = true;
  EXPECT_EQ(ProcessDroppedItem(world.Path(L"d/a.txt"), *message), TItemOutcome::Delivered);
  EXPECT_EQ(ProcessDroppedItem(world.Path(L"d/b.txt"), *message), TItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "compose 900 ~/d/a.txt [\r\nW\r\na.txt\t(1Byte)\r\n]\n"
            "status 1 []\n"
            "attach 900 ~/d/b.txt [\r\nW\r\nb.txt\t(2Byte)\r\n]\n"
            "status 900 []\n");
}

TEST_F(DropItemTest, MainWindowDropTriesAgainWhenTheHostOpensNoComposeWindow) {
  world.AddFile(L"d/a.txt", 1);
  world.AddFile(L"d/b.txt", 2);
  message = std::make_unique<TDropMessage>(settings, services, messageId);
  message->FromMainWindow = true;
  world.host.composeFails = true;
  world.answers = {kOk};
  EXPECT_EQ(ProcessDroppedItem(world.Path(L"d/a.txt"), *message), TItemOutcome::Skipped);
  world.host.composeFails = false;
  EXPECT_EQ(ProcessDroppedItem(world.Path(L"d/b.txt"), *message), TItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "compose fails ~/d/a.txt\n"
            "status 1 []\n"
            "box 添付ファイルの確認\n"
            "compose 900 ~/d/b.txt []\n"
            "status 1 []\n");
  // The user is told which file did not reach a message.
  EXPECT_EQ(
      Narrow(world.texts.at(0)),
      "「a.txt」は添付されませんでした。\r\n"
      "Becky! が新しいメールの作成ウィンドウを開けませんでした。もう一度ドロップしてください。");
}

}  // namespace
}  // namespace vlm
