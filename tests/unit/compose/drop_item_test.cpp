// The decision for each dropped item: size rule, extension rule, questions, packing and hand-over.
#include <gtest/gtest.h>

#include "base/settings_form.h"
#include "compose/dropped_item.h"
#include "tests/unit/compose/drop_fakes.h"

namespace vlm {
namespace {

using test::FakeDropServices;
using test::Narrow;

const auto kCompose = reinterpret_cast<HostWnd>(100);
const auto kMain = reinterpret_cast<HostWnd>(1);
constexpr unsigned kDropId = 0x233;

constexpr int kOk = 1, kCancel = 2, kYes = 6, kNo = 7;

class DropItemTest : public ::testing::Test {
 protected:
  DropItemTest() {
    settings.B2OhWnd = kMain;
    settings.TempFolder = L"C:\\Temp\\";
    settings.WriteWord = L">----- Attachment File -----<";
  }

  // Handles one item dropped onto the compose window (or the main window).
  ItemOutcome Drop(const std::wstring& path, bool onMain = false) {
    message = std::make_unique<DropMessage>(settings, services, messageId);
    message->FromMainWindow = onMain;
    message->ComposeWindow = onMain ? nullptr : kCompose;
    return ProcessDroppedItem(path, *message);
  }

  std::string Log() const {
    std::string all;
    for (const auto& line : services.log) all += line + "\n";
    return all;
  }

  DropSettings settings = DropSettingsOf(TForm1{});
  FakeDropServices services;
  unsigned messageId = kDropId;
  std::unique_ptr<DropMessage> message;
};

TEST_F(DropItemTest, LargePdfAnsweredNoIsZippedIntoTheTemporaryFolderWithItsListing) {
  settings.OverSizeCheck = true;
  settings.WriteFileName = true;
  services.AddFile(L"C:\\work\\report.pdf", 3145728);
  services.answers = {kNo};

  EXPECT_EQ(Drop(L"C:\\work\\report.pdf"), ItemOutcome::Delivered);

  ASSERT_EQ(services.texts.size(), 1u);
  EXPECT_EQ(Narrow(services.texts[0]),
            "添付ファイル「report.pdf」のサイズは1MByte以上(3073kByte)です。\r\n"
            "このまま送信しても良いですか？\r\n\r\n"
            "「はい」・・・・そのまま添付\r\n「いいえ」・・・ZIP圧縮して添付\r\n"
            "「キャンセル」・キャンセル");
  EXPECT_EQ(Narrow(services.captions[0]), "添付ファイルの確認");
  EXPECT_EQ(services.flags[0], 0x3u | 0x30u | 0x100u);  // Yes/No/Cancel, warning, No default

  ASSERT_EQ(services.archive.packs.size(), 1u);
  const auto& pack = services.archive.packs[0];
  EXPECT_EQ(Narrow(pack.fileName), "C:\\Temp\\report.zip");
  EXPECT_EQ(pack.type, atZip);
  EXPECT_EQ(pack.options.x, 0);
  EXPECT_EQ(pack.options.r, 0);
  EXPECT_EQ(pack.options.jso, 1);
  EXPECT_EQ(pack.options.n, 1);
  EXPECT_EQ(pack.outputSize, 8192);
  EXPECT_EQ(pack.options.UserOptions, L"");
  EXPECT_EQ(pack.files, std::vector<std::wstring>{L"C:\\work\\report.pdf"});
  EXPECT_EQ(pack.baseDir, L"");
  EXPECT_TRUE(services.archive.Options().IncludeExtraStreams);

  EXPECT_EQ(Log(),
            "box 添付ファイルの確認\n"
            "status 100 [「ZIP」に圧縮しています。]\n"
            "temp folder\n"
            "pack C:\\Temp\\report.zip\n"
            "pause 100\n"
            "attach 100 C:\\Temp\\report.zip [\r\n>----- Attachment File -----<\r\n"
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
    services = FakeDropServices();
    settings.OverSizeCheck = true;
    settings.OverSize = c.threshold;
    services.decimalSeparator = c.separator;
    if (c.size >= 0) services.AddFile(L"C:\\a\\notes.txt", c.size);
    if (c.asked) services.answers = {kYes};
    Drop(L"C:\\a\\notes.txt");
    ASSERT_EQ(services.texts.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_NE(Narrow(services.texts[0]).find(c.quoted), std::string::npos);
    }
    EXPECT_TRUE(services.archive.packs.empty());
  }
}

TEST_F(DropItemTest, LargeArchiveAsksTheArchiveSizeQuestion) {
  settings.OverSizeCheck = true;
  services.AddFile(L"C:\\p\\Photos.ZIP", 5000000);
  services.AddFile(L"C:\\p\\later.txt", 10);

  services.answers = {kCancel};
  EXPECT_EQ(Drop(L"C:\\p\\Photos.ZIP"), ItemOutcome::EndMessage);
  EXPECT_EQ(services.flags[0], 0x1u | 0x30u | 0x100u);  // OK/Cancel, Cancel default
  EXPECT_EQ(Narrow(services.texts[0]),
            "添付ファイル「Photos.ZIP」のサイズは1MByte以上(4883kByte)です。\r\n"
            "このまま送信しても良いですか？\r\n\r\n"
            "「OK」・・・・・そのまま添付\r\n「キャンセル」・キャンセル");
  EXPECT_EQ(messageId, 0u);
  EXPECT_EQ(Log(), "box 添付ファイルの確認\n");

  // OK: attached as it is by the plug-in, so a mixed drop cannot lose it.
  services.log.clear();
  services.answers = {kOk};
  settings.ArchiveCheck = false;
  EXPECT_EQ(Drop(L"C:\\p\\Photos.ZIP"), ItemOutcome::Delivered);
  EXPECT_EQ(Log(), "box 添付ファイルの確認\nattach 100 C:\\p\\Photos.ZIP []\nstatus 100 []\n");
  EXPECT_TRUE(services.archive.packs.empty());
}

TEST_F(DropItemTest, LargeFolderNamedLikeAnArchiveIsAskedAboutAndPackedAsAFolder) {
  settings.OverSizeCheck = true;
  services.AddFolder(L"C:\\work\\backup.zip", 5000000);
  services.AddFolder(L"C:\\work\\old.LZH", 5000000);
  for (const wchar_t* folder : {L"C:\\work\\backup.zip", L"C:\\work\\old.LZH"}) {
    SCOPED_TRACE(Narrow(folder));
    services.archive.packs.clear();
    services.texts.clear();
    services.answers = {kOk};
    EXPECT_EQ(Drop(folder), ItemOutcome::Delivered);
    ASSERT_EQ(services.texts.size(), 1u);
    EXPECT_EQ(Narrow(services.texts[0]).rfind("添付フォルダ「", 0), 0u)
        << Narrow(services.texts[0]);
    ASSERT_EQ(services.archive.packs.size(), 1u);
    EXPECT_EQ(services.archive.packs[0].baseDir, L"C:\\work");
    EXPECT_EQ(services.archive.packs[0].files,
              std::vector<std::wstring>{std::wstring(folder).substr(8)});
    EXPECT_EQ(services.archive.packs[0].options.r, 2);
  }
  EXPECT_NE(Log().find("attach 100 C:\\Temp\\backup.zip []"), std::string::npos) << Log();
  EXPECT_NE(Log().find("attach 100 C:\\Temp\\old.zip []"), std::string::npos) << Log();
  EXPECT_EQ(Log().find("attach 100 C:\\work"), std::string::npos) << Log();
}

TEST_F(DropItemTest, LargeFolderQuestionAndCancelledFileQuestion) {
  settings.OverSizeCheck = true;
  services.AddFolder(L"C:\\work\\docs", 9000000);
  services.AddFile(L"C:\\work\\big.bin", 9000000);

  services.answers = {kCancel};
  EXPECT_EQ(Drop(L"C:\\work\\docs"), ItemOutcome::Skipped);
  EXPECT_EQ(services.flags[0], 0x1u | 0x30u);  // OK/Cancel, OK default
  EXPECT_EQ(Narrow(services.texts[0]),
            "添付フォルダ「docs」のサイズは1MByte以上(8790kByte)です。\r\n"
            "このまま送信しても良いですか？\r\n\r\n"
            "「OK」・・・・・ZIP圧縮して添付\r\n「キャンセル」・キャンセル");
  EXPECT_EQ(messageId, 0u);

  messageId = kDropId;
  services.answers = {kCancel};
  EXPECT_EQ(Drop(L"C:\\work\\big.bin"), ItemOutcome::Skipped);
  EXPECT_EQ(messageId, 0u);
  EXPECT_TRUE(services.archive.packs.empty());
}

TEST_F(DropItemTest, PartialSendingTreatsLargeItemsAsSmall) {
  settings.OverSizeCheck = true;
  services.partialSending = true;
  services.AddFile(L"C:\\a\\movie.mp4", 90000000);
  services.AddFolder(L"C:\\a\\album", 90000000);

  EXPECT_EQ(Drop(L"C:\\a\\movie.mp4"), ItemOutcome::Delivered);
  EXPECT_EQ(Drop(L"C:\\a\\album"), ItemOutcome::Delivered);
  EXPECT_TRUE(services.texts.empty());
  ASSERT_EQ(services.archive.packs.size(), 1u);
  EXPECT_EQ(Narrow(services.archive.packs[0].fileName), "C:\\Temp\\album.zip");
}

TEST_F(DropItemTest, OutlookBlockedExtensionAsksAfterTheUnderscoreQuestion) {
  struct Case {
    const char* name;
    bool underscore;
    std::deque<int> answers;
    ItemOutcome outcome;
    const char* packed;  // empty: not packed
    const char* attached;
  } cases[] = {
      {"yes attaches as is", false, {kYes}, ItemOutcome::Delivered, "", "C:\\d\\setup.exe"},
      {"no compresses",
       false,
       {kNo},
       ItemOutcome::Delivered,
       "C:\\Temp\\setup.zip",
       "C:\\Temp\\setup.zip"},
      {"cancel skips", false, {kCancel}, ItemOutcome::Skipped, "", ""},
      {"underscore",
       true,
       {kYes, kNo},
       ItemOutcome::Delivered,
       "C:\\Temp\\setup.zi_p",
       "C:\\Temp\\setup.zi_p"},
      {"underscore asked even when sent as is",
       true,
       {kYes, kYes},
       ItemOutcome::Delivered,
       "",
       "C:\\d\\setup.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    services = FakeDropServices();
    messageId = kDropId;
    settings.FileNameChange = c.underscore;
    services.AddFile(L"C:\\d\\setup.exe", 4000);
    services.answers = c.answers;
    EXPECT_EQ(Drop(L"C:\\d\\setup.exe"), c.outcome);
    EXPECT_TRUE(services.answers.empty());
    EXPECT_EQ(messageId, 0u);
    const auto& captions = services.captions;
    if (c.underscore) {
      EXPECT_EQ(Narrow(captions[0]), "圧縮拡張子の確認");
      EXPECT_EQ(Narrow(services.texts[0]), "拡張子に\"_\"を挿入しますか？");
      EXPECT_EQ(services.flags[0], 0x4u | 0x30u);
    }
    EXPECT_EQ(Narrow(services.texts.back()),
              "添付ファイル「setup.exe」はOutlook系では開けません。\r\n"
              "このまま送信しても良いですか？\r\n\r\n"
              "「はい」・・・・そのまま添付\r\n「いいえ」・・・ZIP圧縮して添付\r\n"
              "「キャンセル」・キャンセル");
    EXPECT_EQ(services.flags.back(), 0x3u | 0x30u | 0x100u);
    EXPECT_EQ(services.archive.packs.empty() ? "" : Narrow(services.archive.packs[0].fileName),
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
  services.AddFile(L"C:\\d\\readme.txt", 10240);
  EXPECT_EQ(Drop(L"C:\\d\\readme.txt"), ItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "attach 100 C:\\d\\readme.txt [\r\n>----- Attachment File -----<\r\n"
            "readme.txt\t(11kByte)\r\n]\nstatus 100 []\n");
}

TEST_F(DropItemTest, FolderIsPackedUnderItsOwnNameFromItsParentWithoutTheOutlookQuestion) {
  settings.WriteFileName = true;
  services.AddFolder(L"C:\\work\\docs", 20480);
  EXPECT_EQ(Drop(L"C:\\work\\docs"), ItemOutcome::Delivered);
  EXPECT_TRUE(services.texts.empty());
  ASSERT_EQ(services.archive.packs.size(), 1u);
  const auto& pack = services.archive.packs[0];
  EXPECT_EQ(Narrow(pack.fileName), "C:\\Temp\\docs.zip");
  EXPECT_EQ(pack.files, std::vector<std::wstring>{L"docs"});
  EXPECT_EQ(pack.baseDir, L"C:\\work");
  EXPECT_EQ(pack.options.x, 1);
  EXPECT_EQ(pack.options.r, 2);
  EXPECT_EQ(pack.options.a, 1);
  EXPECT_EQ(pack.options.n, 0);
  EXPECT_EQ(pack.options.jso, 1);
  EXPECT_TRUE(pack.options.IncludeExtraStreams);
  EXPECT_EQ(services.currentDirectory, L"C:\\host");
  EXPECT_NE(Log().find("pack C:\\Temp\\docs.zip\ncd C:\\host\nscan C:\\work\\docs\n"),
            std::string::npos)
      << Log();
  EXPECT_NE(Log().find("docs in docs.zip\t(21kByte -> 5000Byte)"), std::string::npos) << Log();
}

// Names the code page cannot hold reach the host and the archivers as copies under the nearest
// names it can (natively there is no best-fit table, so "é" becomes "_").
TEST_F(DropItemTest, FileNamedOutsideTheCodePageIsAttachedAsACopyUnderTheNearestName) {
  settings.WriteFileName = true;
  services.AddFile(L"C:\\d\\r\u00e9sum\u00e9.pdf", 10240);
  services.AddFile(L"C:\\d\\plain.pdf", 10240);
  EXPECT_EQ(Drop(L"C:\\d\\r\u00e9sum\u00e9.pdf"), ItemOutcome::Delivered);
  EXPECT_EQ(Drop(L"C:\\d\\plain.pdf"), ItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "copy C:\\d\\résumé.pdf -> C:\\Temp\\r_sum_.pdf\n"
            "attach 100 C:\\Temp\\r_sum_.pdf [\r\n>----- Attachment File -----<\r\n"
            "r_sum_.pdf\t(11kByte)\r\n]\nstatus 100 []\n"
            "attach 100 C:\\d\\plain.pdf [\r\n>----- Attachment File -----<\r\n"
            "plain.pdf\t(11kByte)\r\n]\nstatus 100 []\n");
}

// Two files of one drop with the same nearest name: the second copy must not replace the first,
// which the host already holds.
TEST_F(DropItemTest, CopiesOfOneDropWithTheSameNearestNameAreNumbered) {
  services.AddFile(L"C:\\a\\r\u00e9sum\u00e9.pdf", 100);
  services.AddFile(L"C:\\b\\r\u00e9sum\u00e9.pdf", 200);
  services.AddFile(L"C:\\c\\R\u00e9sum\u00e9.pdf", 300);
  message = std::make_unique<DropMessage>(settings, services, messageId);
  message->ComposeWindow = kCompose;
  for (const wchar_t* path : {L"C:\\a\\r\u00e9sum\u00e9.pdf", L"C:\\b\\r\u00e9sum\u00e9.pdf",
                              L"C:\\c\\R\u00e9sum\u00e9.pdf"})
    EXPECT_EQ(ProcessDroppedItem(path, *message), ItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "copy C:\\a\\résumé.pdf -> C:\\Temp\\r_sum_.pdf\n"
            "attach 100 C:\\Temp\\r_sum_.pdf []\nstatus 100 []\n"
            "copy C:\\b\\résumé.pdf -> C:\\Temp\\r_sum_ (2).pdf\n"
            "attach 100 C:\\Temp\\r_sum_ (2).pdf []\nstatus 100 []\n"
            "copy C:\\c\\Résumé.pdf -> C:\\Temp\\R_sum_ (3).pdf\n"
            "attach 100 C:\\Temp\\R_sum_ (3).pdf []\nstatus 100 []\n");
  // A later drop starts afresh: an older copy of the same name is replaced.
  EXPECT_EQ(Drop(L"C:\\a\\r\u00e9sum\u00e9.pdf"), ItemOutcome::Delivered);
  EXPECT_NE(Log().find("copy C:\\a\\résumé.pdf -> C:\\Temp\\r_sum_.pdf\nattach 100 "
                       "C:\\Temp\\r_sum_.pdf []\nstatus 100 []\n",
                       Log().find("R_sum_ (3)")),
            std::string::npos);
}

TEST_F(DropItemTest, ItemNamedOutsideTheCodePageIsPackedFromACopyUnderTheNearestName) {
  struct Case {
    std::wstring item;
    bool folder;
    const char* log;
  } cases[] = {
      // The staging copy is gone as soon as the archive is made.
      {L"C:\\d\\r\u00e9sum\u00e9.pdf", false,
       "remove tree C:\\Temp\\VelmoraStaging\n"
       "copy C:\\d\\résumé.pdf -> C:\\Temp\\VelmoraStaging\\r_sum_.pdf\n"
       "pack C:\\Temp\\r_sum_.zip\n"
       "remove tree C:\\Temp\\VelmoraStaging\n"},
      // The folder's own name fits; a file inside does not.
      {L"C:\\d\\docs", true,
       "remove tree C:\\Temp\\VelmoraStaging\n"
       "copy C:\\d\\docs -> C:\\Temp\\VelmoraStaging\\docs\n"
       "pack C:\\Temp\\docs.zip\n"
       "cd C:\\host\n"
       "remove tree C:\\Temp\\VelmoraStaging\n"},
  };
  for (const Case& c : cases) {
    services = FakeDropServices();
    settings.ArchiveCheck = true;
    settings.WriteFileName = true;
    if (c.folder) {
      services.AddFolder(c.item, 3000);
      services.AddFile(c.item + L"\\caf\u00e9.txt", 3000);
    } else {
      services.AddFile(c.item, 3000);
    }
    EXPECT_EQ(Drop(c.item), ItemOutcome::Delivered);
    EXPECT_NE(Log().find(c.log), std::string::npos) << Log();
    ASSERT_EQ(services.archive.packs.size(), 1u);
    const auto& pack = services.archive.packs[0];
    if (c.folder) {
      EXPECT_EQ(pack.files, std::vector<std::wstring>{L"docs"});
      EXPECT_EQ(pack.baseDir, L"C:\\Temp\\VelmoraStaging");
      EXPECT_NE(Log().find("docs in docs.zip"), std::string::npos) << Log();
    } else {
      EXPECT_EQ(pack.files, std::vector<std::wstring>{L"C:\\Temp\\VelmoraStaging\\r_sum_.pdf"});
      EXPECT_NE(Log().find("r_sum_.pdf in r_sum_.zip"), std::string::npos) << Log();
    }
  }
}

TEST_F(DropItemTest, CopyUnderTheNearestNameThatFailsAttachesNothingAndSaysWhy) {
  settings.ArchiveCheck = false;
  services.copyProblem = L"「C:\\d\\r\u00e9sum\u00e9.pdf」: ディスクがいっぱいです。";
  services.AddFile(L"C:\\d\\r\u00e9sum\u00e9.pdf", 10);
  services.answers = {kOk};
  EXPECT_EQ(Drop(L"C:\\d\\r\u00e9sum\u00e9.pdf"), ItemOutcome::Skipped);
  EXPECT_EQ(messageId, 0u);
  ASSERT_EQ(services.texts.size(), 1u);
  EXPECT_EQ(Narrow(services.texts[0]),
            "「résumé.pdf」は添付しません。\r\n"
            "名前にシステムの文字コードで表せない文字があるため、表せる名前で一時フォルダに"
            "コピーしようとしましたが、できませんでした。\r\n"
            "「C:\\d\\résumé.pdf」: ディスクがいっぱいです。");
  EXPECT_EQ(Narrow(services.captions[0]), "添付ファイルの確認");
  EXPECT_EQ(Log().find("attach"), std::string::npos) << Log();

  // Packed, the staging folder goes too and no archive is attached.
  settings.ArchiveCheck = true;
  services.answers = {kOk};
  messageId = kDropId;
  services.log.clear();
  EXPECT_EQ(Drop(L"C:\\d\\r\u00e9sum\u00e9.pdf"), ItemOutcome::Skipped);
  EXPECT_TRUE(services.archive.packs.empty());
  EXPECT_EQ(Log().find("attach"), std::string::npos) << Log();
  EXPECT_NE(Log().rfind("remove tree C:\\Temp\\VelmoraStaging\n"), Log().find("remove tree"))
      << Log();
}

TEST_F(DropItemTest, EverythingCompressedReplacesAnOldArchiveAndUsesLha) {
  settings.ArchiveCheck = true;
  settings.OverSizeCheck = true;  // not applied when everything is compressed
  settings.ArchiveType = 0;
  services.AddFile(L"C:\\d\\huge.doc", 99000000);
  services.AddFile(L"C:\\Temp\\huge.lzh", 1);
  EXPECT_EQ(Drop(L"C:\\d\\huge.doc"), ItemOutcome::Delivered);
  EXPECT_TRUE(services.texts.empty());
  EXPECT_EQ(services.archive.packs.at(0).type, atLha);
  EXPECT_NE(Log().find("status 100 [「LHA」に圧縮しています。]\nremove C:\\Temp\\huge.lzh\n"),
            std::string::npos)
      << Log();
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
    services = FakeDropServices();
    settings.ArchiveCheck = true;
    settings.CheckPassword = true;
    settings.ArchiveType = c.format;
    services.AddFile(L"C:\\d\\plan.xls", 100);
    services.answers = c.answers;
    services.password = c.password;
    const ItemOutcome outcome = Drop(L"C:\\d\\plan.xls");
    EXPECT_TRUE(services.answers.empty());
    if (c.format == 1) {
      EXPECT_EQ(Narrow(services.captions.at(0)), "パスワード付き圧縮の確認");
    }
    if (c.userOptions) {  // packed
      EXPECT_EQ(outcome, ItemOutcome::Delivered);
      EXPECT_EQ(Narrow(services.archive.packs.at(0).options.UserOptions), c.userOptions);
    } else {
      EXPECT_EQ(outcome, ItemOutcome::Skipped);
      EXPECT_TRUE(services.archive.packs.empty());
      EXPECT_EQ(messageId, 0u);
    }
  }
}

TEST_F(DropItemTest, ArchiverFailuresAttachNothing) {
  struct Case {
    const char* name;
    bool noComponent, throws, writes, oldArchiveHeld;
    int result;
    ItemOutcome outcome;
    const char* log;
  } cases[] = {
      {"archiver missing", false, true, false, false, 0, ItemOutcome::EndMessage,
       "status 100 [「ZIP」に圧縮しています。]\ntemp folder\npack C:\\Temp\\setup.zip\n"
       "box 圧縮用DLLがありません\ncaldix\n"},
      {"no component", true, false, false, false, 0, ItemOutcome::EndMessage,
       "status 100 [「ZIP」に圧縮しています。]\ntemp folder\nbox 圧縮用DLLがありません\ncaldix\n"},
      {"no archive written", false, false, false, false, 0, ItemOutcome::Skipped,
       "status 100 [「ZIP」に圧縮しています。]\ntemp folder\npack C:\\Temp\\setup.zip\n"
       "box 添付ファイルの確認\nstatus 100 []\n"},
      // The archiver would add to the old archive and send its members along.
      {"old archive held open", false, false, true, true, 0, ItemOutcome::Skipped,
       "status 100 [「ZIP」に圧縮しています。]\nremove C:\\Temp\\setup.zip\n"
       "box 添付ファイルの確認\nstatus 100 []\n"},
      {"archiver error", false, false, false, false, 0x8020, ItemOutcome::Skipped,
       "status 100 [「ZIP」に圧縮しています。]\ntemp folder\npack C:\\Temp\\setup.zip\n"
       "box 添付ファイルの確認\nstatus 100 []\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    services = FakeDropServices();
    settings.ArchiveCheck = true;
    services.AddFile(L"C:\\d\\setup.exe", 100);
    services.noArchiveComponent = c.noComponent;
    services.archive.throws = c.throws;
    services.archive.writesArchive = c.writes;
    services.archive.result = c.result;
    if (c.oldArchiveHeld) services.AddFile(L"C:\\Temp\\setup.zip", 10);
    services.removeFails = c.oldArchiveHeld;
    services.answers = {kOk};
    EXPECT_EQ(Drop(L"C:\\d\\setup.exe"), c.outcome);
    EXPECT_EQ(Log(), c.log);
  }
  EXPECT_EQ(Narrow(services.texts[0]),
            "「setup.exe」を「ZIP」に圧縮できませんでした。(エラーコード 32800)\r\n"
            "このファイルは添付しません。");
}

TEST_F(DropItemTest, ArchiveWrittenWithAWarningCodeIsAttachedAndTheCodeReported) {
  settings.WriteFileName = true;
  services.AddFolder(L"C:\\work\\docs", 20480);
  services.archive.result = 0x800D;  // a file could not be opened; the others were packed
  services.answers = {kOk};
  EXPECT_EQ(Drop(L"C:\\work\\docs"), ItemOutcome::Delivered);
  EXPECT_NE(Log().find("attach 100 C:\\Temp\\docs.zip [\r\n>----- Attachment File -----<\r\n"
                       "docs in docs.zip\t(21kByte -> 5000Byte)\r\n]\nstatus 100 []\n"
                       "box 添付ファイルの確認\n"),
            std::string::npos)
      << Log();
  ASSERT_EQ(services.texts.size(), 1u);
  EXPECT_EQ(
      Narrow(services.texts[0]),
      "「docs」を「ZIP」に圧縮して添付しましたが、圧縮用DLLがエラーコード 32781 を返しました。"
      "\r\n書庫に入っていないファイルがあるかもしれません。書庫の中身を確かめてください。");
  EXPECT_EQ(services.flags[0], 0x30u);
}

TEST_F(DropItemTest, OldArchiveThatCannotBeRemovedIsNeverAttachedAsTheNewOne) {
  settings.ArchiveCheck = true;
  services.AddFile(L"C:\\d\\plan.xls", 100);
  services.AddFile(L"C:\\Temp\\plan.zip", 7);  // from an earlier drop, read-only now
  services.removeFails = true;
  services.archive.writesArchive = false;
  services.archive.result = 0x8013;  // the archiver cannot write over it either
  services.answers = {kOk};
  EXPECT_EQ(Drop(L"C:\\d\\plan.xls"), ItemOutcome::Skipped);
  EXPECT_EQ(Log(),
            "status 100 [「ZIP」に圧縮しています。]\nremove C:\\Temp\\plan.zip\n"
            "box 添付ファイルの確認\nstatus 100 []\n");
  EXPECT_EQ(Narrow(services.texts.at(0)),
            "「plan.xls」を「ZIP」に圧縮できませんでした。\r\nこのファイルは添付しません。");
  EXPECT_TRUE(services.archive.packs.empty());
}

TEST_F(DropItemTest, MissingArchiverNoticeText) {
  settings.ArchiveCheck = true;
  services.AddFile(L"C:\\d\\a.txt", 1);
  services.archive.throws = true;
  services.answers = {kOk};
  Drop(L"C:\\d\\a.txt");
  EXPECT_EQ(Narrow(services.texts[0]),
            "caldixを起動します。\r\n「開始」をクリックすると自動でDLLがインストールされます。\r\n"
            "「開始」を押してください。");
  EXPECT_EQ(services.flags[0], 0x30u);
}

TEST_F(DropItemTest, DriveRootIsRefusedBeforeAnyScan) {
  settings.OverSizeCheck = true;
  services.AddFolder(L"C:\\", 1LL << 40);
  services.answers = {kOk};
  EXPECT_EQ(Drop(L"C:\\"), ItemOutcome::Skipped);
  EXPECT_EQ(Log(), "box 添付ファイルの確認\n");
  EXPECT_EQ(messageId, 0u);
}

TEST_F(DropItemTest, ItemsDroppedOnTheMainWindowShareOneNewComposeWindow) {
  settings.WriteFileName = true;
  settings.WriteWord = L"W";
  services.AddFile(L"C:\\d\\a.txt", 1);
  services.AddFile(L"C:\\d\\b.txt", 2);
  message = std::make_unique<DropMessage>(settings, services, messageId);
  message->FromMainWindow = true;
  EXPECT_EQ(ProcessDroppedItem(L"C:\\d\\a.txt", *message), ItemOutcome::Delivered);
  EXPECT_EQ(ProcessDroppedItem(L"C:\\d\\b.txt", *message), ItemOutcome::Delivered);
  EXPECT_EQ(Log(),
            "compose 900 C:\\d\\a.txt [\r\nW\r\na.txt\t(1Byte)\r\n]\n"
            "status 1 []\n"
            "attach 900 C:\\d\\b.txt [\r\nW\r\nb.txt\t(2Byte)\r\n]\n"
            "status 900 []\n");
}

TEST_F(DropItemTest, MainWindowDropTriesAgainWhenTheHostOpensNoComposeWindow) {
  services.AddFile(L"C:\\d\\a.txt", 1);
  services.AddFile(L"C:\\d\\b.txt", 2);
  message = std::make_unique<DropMessage>(settings, services, messageId);
  message->FromMainWindow = true;
  services.composeFails = true;
  ProcessDroppedItem(L"C:\\d\\a.txt", *message);
  services.composeFails = false;
  ProcessDroppedItem(L"C:\\d\\b.txt", *message);
  EXPECT_EQ(Log(),
            "compose fails C:\\d\\a.txt\n"
            "status 1 []\n"
            "compose 900 C:\\d\\b.txt []\n"
            "status 1 []\n");
}

}  // namespace
}  // namespace vlm
