#include <gtest/gtest.h>

#include "tests/archivers/common/recorder_script.h"

namespace {

TEST(RecorderScriptTest, ReadsTheAnswersOfTheDllItIsFor) {
  const char* text =
      "# answers\r\n"
      "result main 0x8020\r\n"
      "output first line\r\n"
      "[TAR32.DLL]\r\n"
      "result GetArchiveType 2\r\n"
      "member docs/a.txt\t1000\t400\t2024-05-01 12:34:56\t----a\t-lh5-\r\n"
      "member bare.txt\r\n"
      "progress 1 x;#stream\tC:\\out\\x;#stream\r\n"
      "[UNRAR32.DLL]\r\n"
      "result OpenArchive 1\r\n"
      "[*]\r\n"
      "password secret\r\n"
      "dialog 0 secret\r\n";
  standin::RecorderScript tar = standin::ParseRecorderScript(text, "tar32.dll");
  EXPECT_EQ(tar.Result("main", 0), 0x8020);
  EXPECT_EQ(tar.Result("GetArchiveType", 0), 2);
  EXPECT_EQ(tar.Result("OpenArchive", -5), -5);
  EXPECT_EQ(tar.output, "first line\r\n");
  ASSERT_EQ(tar.members.size(), 2u);
  EXPECT_EQ(tar.members[0].name, "docs/a.txt");
  EXPECT_EQ(tar.members[0].originalSize, 1000u);
  EXPECT_EQ(tar.members[0].ratio, 400u);
  EXPECT_EQ(tar.members[0].dosDate, ((2024 - 1980) << 9) | (5 << 5) | 1);
  EXPECT_EQ(tar.members[0].dosTime, (12 << 11) | (34 << 5) | 28);
  EXPECT_EQ(tar.members[0].mode, "-lh5-");
  EXPECT_EQ(tar.members[1].dosDate, 0);  // no time: date and time stay 0
  ASSERT_EQ(tar.progress.size(), 1u);
  EXPECT_EQ(tar.progress[0].first, standin::kStateInProcess);
  EXPECT_EQ(tar.progress[0].second.destName, "C:\\out\\x;#stream");
  EXPECT_EQ(tar.password.value_or(""), "secret");
  EXPECT_EQ(tar.dialogResult, 0);

  standin::RecorderScript rar = standin::ParseRecorderScript(text, "UNRAR32.DLL");
  EXPECT_EQ(rar.Result("OpenArchive", 0), 1);
  EXPECT_TRUE(rar.members.empty());
}

}  // namespace
