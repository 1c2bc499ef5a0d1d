#include <gtest/gtest.h>

#include <string>

#include "archiver/archiver_options.h"
#include "base/ansi_text.h"

namespace vlm {
namespace {

TEST(ArchiverOptions, CreatedWithEverySwitchUnset) {
  const TArchiverOptions options;
  std::wstring order;
  for (const TOptionSwitch& sw : OptionSwitches()) {
    order += std::wstring(sw.name) + L" ";
    switch (sw.kind) {
      case TOptionSwitch::skInt:
        EXPECT_EQ(options.*sw.intField, -1) << ToUtf8(sw.name);
        break;
      case TOptionSwitch::skString:
        EXPECT_EQ(options.*sw.stringField, std::wstring(1, L'\0')) << ToUtf8(sw.name);
        break;
      case TOptionSwitch::skList:
        EXPECT_TRUE((options.*sw.listField).empty());
        break;
    }
  }
  EXPECT_EQ(order,
            L"a c e f h i l m n o p r s t u w x y z jc jd je jf jh ji jm jn jo job jp jr jsb jsc "
            L"jsd jse jsf jsl jso jss jst jsv jsz jw jx jyc jyd jyk jyn jyo jz ga gd ge gf gj gm "
            L"gn go gp gr gs gu gw gya gyc gyd gye gyo gyq gys gyt gyw gyx ");
  EXPECT_EQ(options.UserOptions, L"");
  EXPECT_EQ(options.UserFileList, L"");
  EXPECT_EQ(options.PackFilter, pfComponent);
  EXPECT_EQ(options.ResFileName, L"");
  EXPECT_EQ(options.ResFileUsage, (TResFileUsage{ruOnPack, ruOnUnpack, ruOnRemoveItem}));
  EXPECT_EQ(options.ResFileUsage.Bits(), 0x07);
  EXPECT_TRUE(options.IncludeExtraStreams);
  EXPECT_EQ(options.StreamSeparator, L";#");
}

TEST(ArchiverOptions, InitResetsSwitchesButKeepsStreamSettings) {
  TArchiverOptions options;
  options.x = 0;
  options.w = L"C:\\t";
  options.jx = {L"*.bak"};
  options.UserOptions = L"-P x";
  options.PackFilter = pfArchiver;
  options.ResFileUsage = {ruOnUpdate};
  options.IncludeExtraStreams = false;
  options.StreamSeparator = L"#";
  options.init();
  EXPECT_EQ(options.x, -1);
  EXPECT_TRUE(IsUnset(options.w));
  EXPECT_TRUE(options.jx.empty());
  EXPECT_EQ(options.UserOptions, L"");
  EXPECT_EQ(options.PackFilter, pfComponent);
  EXPECT_EQ(options.ResFileUsage.Bits(), 0x07);
  EXPECT_FALSE(options.IncludeExtraStreams);
  EXPECT_EQ(options.StreamSeparator, L"#");
}

TEST(ArchiverOptions, AssignCopiesTheExclusionListByContent) {
  TArchiverOptions source;
  source.jx = {L"a", L"b"};
  source.jyc = 3;
  source.gyw = L"-1";
  TArchiverOptions copy;
  copy.Assign(source);
  source.jx.push_back(L"c");
  EXPECT_EQ(copy.jx, (std::vector<std::wstring>{L"a", L"b"}));
  EXPECT_EQ(copy.jyc, 3);
  EXPECT_EQ(copy.gyw, L"-1");
}

}  // namespace
}  // namespace vlm
