#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/plugin_info.h"

TEST(PluginInfo, FourFieldsAtTheirOffsets) {
  char block[vlm::kPluginInfoSize];
  std::memset(block, 'x', sizeof block);
  vlm::FillPluginInfo(block, L"1.009");
  EXPECT_STREQ(block, "Velmora Plugin");
  EXPECT_STRNE(block + 80, "");
  EXPECT_STREQ(block + 160, "1.009");
  // The description is exactly 40 Shift-JIS bytes and its NUL.
  const std::string description(block + 240);
  EXPECT_EQ(description.size(), 40u);
  EXPECT_EQ(static_cast<unsigned char>(description[0]), 0x93);  // 添 = 0x93 0x59
  EXPECT_EQ(static_cast<unsigned char>(description[1]), 0x59);
  EXPECT_EQ(description.substr(description.size() - 2), "\x81\x42");  // 。
}

#include "base/ansi_text.h"

TEST(AnsiText, ExactConversionRefusesWhatCodePage932Cannot) {
  EXPECT_EQ(vlm::ToAnsiExact(L"資料.pdf"), vlm::ToAnsi(L"資料.pdf"));
  EXPECT_EQ(vlm::ToAnsiExact(L""), std::string());
  EXPECT_EQ(vlm::ToAnsiExact(L"caf\u00e9\u00ef.txt"), std::nullopt);  // no é/ï in 932
  EXPECT_EQ(vlm::FromAnsi(vlm::ToAnsi(L"表示.txt")), L"表示.txt");    // 0x5C trail byte
}
