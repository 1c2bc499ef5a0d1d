#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "base/ansi_text.h"
#include "base/decimal_text.h"
#include "base/settings_ini.h"
#include "tests/unit/base/number_text_cases.h"

namespace {

struct FakeIni : vlm::TIniFile {
  std::map<std::wstring, std::wstring> values;
  std::vector<std::wstring> writtenKeys;
  std::wstring failAt;
  std::optional<std::wstring> Read(const std::wstring& key) const override {
    auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(const std::wstring& key, const std::wstring& value) override {
    if (key == failAt) throw std::runtime_error("write failed");
    writtenKeys.push_back(key);
    values[key] = value;
  }
};

TEST(LoadSettings, EmptyFileGivesEveryDefault) {
  TForm1 form;
  FakeIni ini;
  vlm::LoadSettings(form, ini);
  form.RadioGroup1Click();
  EXPECT_EQ(form.LabeledEdit1.Text, L"添付");
  EXPECT_EQ(form.LabeledEdit2.Text, L"送付");
  EXPECT_EQ(form.LabeledEdit3.Text, L"");
  EXPECT_EQ(form.RadioGroup1.ItemIndex, 1);
  EXPECT_EQ(form.TrackBar1.Position, 9);
  EXPECT_EQ(form.LabeledEdit5.Text, L">----- Attachment File -----<");
  EXPECT_EQ(form.ButtonedEdit1.Text, L"C:\\WINDOWS\\system32\\mspaint.exe");
  EXPECT_EQ(form.LabeledEdit4.Text, L"1");
  const TCheckBox* ticked[] = {&form.CheckBox1, &form.CheckBox10, &form.CheckBox12};
  const TCheckBox* clear[] = {&form.CheckBox2, &form.CheckBox3, &form.CheckBox4,
                              &form.CheckBox5, &form.CheckBox6, &form.CheckBox7,
                              &form.CheckBox8, &form.CheckBox9, &form.CheckBox11};
  for (auto* box : ticked) EXPECT_TRUE(box->Checked);
  for (auto* box : clear) EXPECT_FALSE(box->Checked);
  EXPECT_FALSE(form.LabeledEdit5.Enabled);
  EXPECT_FALSE(form.LabeledEdit4.Enabled);
  EXPECT_TRUE(form.CheckBox5.Enabled);
}

// A fresh form already holds what an empty file gives, and whatever Save writes, Load reads back.
TEST(LoadSettings, FreshFormAndSavedValuesMatchWhatLoadGives) {
  TForm1 fresh;
  FakeIni freshSaved;
  ASSERT_EQ(vlm::SaveSettings(fresh, freshSaved, L'.'), std::nullopt);
  TForm1 loaded;
  FakeIni empty;
  vlm::LoadSettings(loaded, empty);
  FakeIni loadedSaved;
  ASSERT_EQ(vlm::SaveSettings(loaded, loadedSaved, L'.'), std::nullopt);
  EXPECT_EQ(freshSaved.values, loadedSaved.values);
  EXPECT_EQ(fresh.LongFileName, loaded.LongFileName);

  TForm1 changed;
  changed.LabeledEdit1.Text = L"添付ファイル";
  changed.LabeledEdit4.Text = L"2.5";
  changed.ButtonedEdit1.Text = L"D:\\paint.exe";
  changed.CheckBox1.Checked = false;
  changed.CheckBox9.Checked = true;
  changed.CheckBox11.Checked = true;
  changed.RadioGroup1.ItemIndex = 0;
  changed.TrackBar1.SetPosition(3);
  FakeIni written;
  ASSERT_EQ(vlm::SaveSettings(changed, written, L'.'), std::nullopt);
  TForm1 reread;
  vlm::LoadSettings(reread, written);
  FakeIni rewritten;
  ASSERT_EQ(vlm::SaveSettings(reread, rewritten, L'.'), std::nullopt);
  EXPECT_EQ(rewritten.values, written.values);
  EXPECT_NE(written.values, freshSaved.values);
}

// A key without a control: only the INI file sets it, and Save leaves it as the user wrote it.
TEST(LoadSettings, LongFileNameIsOnUnlessTheFileSaysOtherwise) {
  struct Case {
    std::optional<std::wstring> value;
    bool on;
  } cases[] = {
      {std::nullopt, true}, {L"-1", true}, {L"0", false}, {L"False", false}, {L"junk", true}};
  for (const auto& c : cases) {
    TForm1 form;
    FakeIni ini;
    if (c.value) ini.values[L"LongFileName"] = *c.value;
    vlm::LoadSettings(form, ini);
    EXPECT_EQ(form.LongFileName, c.on) << c.value.value_or(L"(none)");
    ASSERT_EQ(vlm::SaveSettings(form, ini, L'.'), std::nullopt);
    EXPECT_EQ(ini.values.count(L"LongFileName"), c.value ? 1u : 0u);
  }
}

// The size question's threshold: a positive whole number from the file, else the default.
TEST(LoadSettings, SizeCheckBytesFallsBackWhenBroken) {
  struct Case {
    std::optional<std::wstring> value;
    long long bytes;
  } cases[] = {{std::nullopt, 1024000}, {L"2048000", 2048000}, {L"+500", 500},
               {L"0", 1024000},         {L"-1", 1024000},      {L"1.5", 1024000},
               {L"1MB", 1024000},       {L"", 1024000},        {L"99999999999999999999", 1024000}};
  for (const auto& c : cases) {
    TForm1 form;
    FakeIni ini;
    if (c.value) ini.values[L"SizeCheckBytes"] = *c.value;
    vlm::LoadSettings(form, ini);
    EXPECT_EQ(form.SizeCheckBytes, c.bytes) << c.value.value_or(L"(none)");
    ASSERT_EQ(vlm::SaveSettings(form, ini, L'.'), std::nullopt);
    EXPECT_EQ(ini.values.count(L"SizeCheckBytes"), c.value ? 1u : 0u);
  }
}

TEST(LoadSettings, LhaDisablesAndClearsThePasswordQuestion) {
  TForm1 form;
  FakeIni ini;
  ini.values = {{L"ArchiveType", L"0"}, {L"CheckPassword", L"-1"}};
  vlm::LoadSettings(form, ini);
  EXPECT_TRUE(form.CheckBox5.Checked);
  form.RadioGroup1Click();
  EXPECT_FALSE(form.CheckBox5.Enabled);
  EXPECT_FALSE(form.CheckBox5.Checked);
}

struct ValueCase {
  const wchar_t* key;
  const wchar_t* value;
  int expected;  // the control's value after loading
};

TEST(LoadSettings, LenientValuesAndFallbacks) {
  const ValueCase cases[] = {
      {L"Comp", L"abc", 9},
      {L"Comp", L"15", 10},
      {L"Comp", L"-3", 0},
      {L"Comp", L"4", 4},
      {L"ArchiveType", L"x", 1},
      {L"ArchiveType", L"7", 1},
      {L"SendWarning", L"TRUE", 1},
      {L"SendWarning", L"2", 1},
      {L"SendWarning", L"0", 0},
      {L"SendWarning", L"yes", 0},
      {L"NotReplyCheck", L"fAlSe", 0},
      {L"NotReplyCheck", L"junk", 1},
      {L"SendWarning", L"1.5", 1},
      {L"SendWarning", L"-0.25", 1},
      {L"SendWarning", L"1e3", 1},
      {L"SendWarning", L"99999999999999999999", 1},
      {L"SendWarning", L"1,5", 0},
      {L"NotReplyCheck", L"0.0", 0},
      {L"NotReplyCheck", L"-0", 0},
      {L"NotReplyCheck", L"0e5", 0},
  };
  for (const auto& c : cases) {
    TForm1 form;
    FakeIni ini;
    ini.values[c.key] = c.value;
    vlm::LoadSettings(form, ini);
    const std::wstring key = c.key;
    const int actual = key == L"Comp"          ? form.TrackBar1.Position
                       : key == L"ArchiveType" ? form.RadioGroup1.ItemIndex
                       : key == L"SendWarning" ? form.CheckBox4.Checked
                                               : form.CheckBox1.Checked;
    EXPECT_EQ(actual, c.expected) << c.key << "=" << c.value;
  }
}

TEST(SaveSettings, ValidationStopsBeforeAnyWrite) {
  TForm1 form;
  FakeIni ini;
  form.LabeledEdit4.Text = L"abc";
  EXPECT_EQ(vlm::SaveSettings(form, ini, L'.'),
            L"abcは数値ではありません。\r\n\r\n数値を入力してください。");
  form.LabeledEdit4.Text = L"1.5";
  form.CheckBox3.Checked = true;
  form.CheckBox3Click();
  form.LabeledEdit5.Text = L"";
  EXPECT_EQ(vlm::SaveSettings(form, ini, L'.'), L"文言が何も記入されていません。");
  EXPECT_TRUE(ini.writtenKeys.empty());
  form.CheckBox3.Checked = false;
  form.CheckBox3Click();
  EXPECT_EQ(vlm::SaveSettings(form, ini, L'.'), std::nullopt) << "an empty disabled wording passes";
}

TEST(SaveSettings, WritesTwentyKeysInOrderWithNumericBooleans) {
  TForm1 form;
  FakeIni ini;
  ini.values = {{L"WarningComposeThread", L"True"}, {L"OpenPath", L"C:\\x"}};
  vlm::LoadSettings(form, ini);
  form.CheckBox8.Checked = true;
  ASSERT_EQ(vlm::SaveSettings(form, ini, L'.'), std::nullopt);
  const std::vector<std::wstring> order = {
      L"String1",        L"String2",       L"String3",        L"NotReplyCheck", L"ArchiveCheck",
      L"ArchiveType",    L"WriteFileName", L"WriteWord",      L"SendWarning",   L"CheckPassword",
      L"OverSizeCheck",  L"OverSize",      L"FileNameChange", L"Paint",         L"Comp",
      L"AutoWinmaildat", L"AddFile",       L"XMailerAdd",     L"FormatChange",  L"GmailSendCheck"};
  EXPECT_EQ(ini.writtenKeys, order);
  EXPECT_EQ(ini.values[L"AutoWinmaildat"], L"-1");
  EXPECT_EQ(ini.values[L"AddFile"], L"0");
  EXPECT_EQ(ini.values[L"WarningComposeThread"], L"True");
  EXPECT_EQ(ini.values[L"OpenPath"], L"C:\\x");
}

TEST(SaveSettings, FailedWriteKeepsEarlierKeysAndStops) {
  TForm1 form;
  FakeIni ini;
  vlm::LoadSettings(form, ini);
  ini.failAt = L"ArchiveType";
  EXPECT_THROW((void)vlm::SaveSettings(form, ini, L'.'), std::runtime_error);
  EXPECT_EQ(ini.writtenKeys.size(), 5u);
}

// What Save accepts is what the drop handling reads, to the number it reads.
TEST(IsFloatText, UserNumberFormat) {
  for (const auto& c : vlm::test::kNumberTextCases) {
    SCOPED_TRACE(vlm::ToUtf8(c.text));
    EXPECT_EQ(vlm::IsFloatText(c.text, c.separator), c.value.has_value());
    EXPECT_EQ(vlm::ParseDecimal(c.text, c.separator), c.value);
  }
}

TEST(CheckBox9Click, AsksOnceAfterYesAndAgainAfterNo) {
  TForm1 form;
  int asked = 0;
  int answer = 7;
  auto ask = [&](const std::wstring&, const std::wstring& caption, unsigned flags) {
    ++asked;
    EXPECT_EQ(caption, L"機能使用の確認");
    EXPECT_EQ(flags, 0x34u);
    return answer;
  };
  form.CheckBox9.Checked = true;
  form.CheckBox9Click(ask);
  EXPECT_FALSE(form.CheckBox9.Checked) << "No unticks";
  answer = 6;
  form.CheckBox9.Checked = true;
  form.CheckBox9Click(ask);
  EXPECT_TRUE(form.CheckBox9.Checked);
  form.CheckBox9.Checked = false;
  form.CheckBox9Click(ask);
  form.CheckBox9.Checked = true;
  form.CheckBox9Click(ask);
  EXPECT_EQ(asked, 2);
  form.CheckCheck = true;
  form.bFileAddAgree = false;
  form.CheckBox9Click(ask);
  EXPECT_EQ(asked, 2) << "nothing is asked while loading";
}

}  // namespace
