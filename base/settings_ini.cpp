#include "base/settings_ini.h"

#include <cwctype>

#include "base/decimal_text.h"
#include "base/text.h"

namespace vlm {
namespace {

std::optional<long long> ParseInteger(const std::wstring& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i == text.size() || text.size() - i > 18) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
  }
  return negative ? -value : value;
}

std::wstring ReadText(const IniFile& ini, const wchar_t* key, const wchar_t* fallback) {
  return ini.Read(key).value_or(fallback);
}

int ReadInteger(const IniFile& ini, const wchar_t* key, int fallback) {
  const auto text = ini.Read(key);
  if (!text) return fallback;
  const auto value = ParseInteger(*text);
  if (!value || *value < -2147483647LL || *value > 2147483647LL) return fallback;
  return static_cast<int>(*value);
}

const wchar_t* BoolText(bool value) {
  return value ? L"-1" : L"0";
}

}  // namespace

bool ReadBool(const IniFile& ini, const std::wstring& key, bool fallback) {
  const auto text = ini.Read(key);
  if (!text) return fallback;
  // The file is not the user's locale: a decimal number is written with a dot.
  if (const auto number = ParseDecimal(*text, L'.')) return *number != 0;
  if (EqualsIgnoringAsciiCase(*text, L"true")) return true;
  if (EqualsIgnoringAsciiCase(*text, L"false")) return false;
  return fallback;
}

void LoadSettings(TForm1& form, const IniFile& ini) {
  form.LabeledEdit1.Text = ReadText(ini, L"String1", L"添付");
  form.LabeledEdit2.Text = ReadText(ini, L"String2", L"送付");
  form.LabeledEdit3.Text = ReadText(ini, L"String3", L"");
  form.CheckBox1.Checked = ReadBool(ini, L"NotReplyCheck", true);
  form.CheckBox2.Checked = ReadBool(ini, L"ArchiveCheck", false);
  const int archiveType = ReadInteger(ini, L"ArchiveType", 1);
  form.RadioGroup1.ItemIndex = archiveType == 0 || archiveType == 1 ? archiveType : 1;
  form.CheckBox3.Checked = ReadBool(ini, L"WriteFileName", false);
  form.LabeledEdit5.Text = ReadText(ini, L"WriteWord", L">----- Attachment File -----<");
  form.CheckBox3Click();
  form.CheckBox4.Checked = ReadBool(ini, L"SendWarning", false);
  form.CheckBox5.Checked = ReadBool(ini, L"CheckPassword", false);
  form.CheckBox6.Checked = ReadBool(ini, L"OverSizeCheck", false);
  form.LabeledEdit4.Text = ReadText(ini, L"OverSize", L"1");
  form.CheckBox6Click();
  form.CheckBox7.Checked = ReadBool(ini, L"FileNameChange", false);
  form.ButtonedEdit1.Text = ReadText(ini, L"Paint", L"C:\\WINDOWS\\system32\\mspaint.exe");
  form.TrackBar1.SetPosition(ReadInteger(ini, L"Comp", 9));
  form.CheckBox8.Checked = ReadBool(ini, L"AutoWinmaildat", false);
  form.CheckCheck = true;
  form.CheckBox9.Checked = ReadBool(ini, L"AddFile", false);
  form.CheckCheck = false;
  form.CheckBox10.Checked = ReadBool(ini, L"XMailerAdd", true);
  form.CheckBox11.Checked = ReadBool(ini, L"FormatChange", false);
  form.CheckBox12.Checked = ReadBool(ini, L"GmailSendCheck", true);
  form.LongFileName = ReadBool(ini, L"LongFileName", true);
}

bool IsFloatText(const std::wstring& text, wchar_t decimalSeparator) {
  return ParseDecimal(text, decimalSeparator).has_value();
}

std::optional<std::wstring> SaveSettings(const TForm1& f, IniFile& ini, wchar_t decimalSeparator) {
  if (!IsFloatText(f.LabeledEdit4.Text, decimalSeparator))
    return f.LabeledEdit4.Text + L"は数値ではありません。\r\n\r\n数値を入力してください。";
  if (f.LabeledEdit5.Text.empty() && f.LabeledEdit5.Enabled)
    return L"文言が何も記入されていません。";
  ini.Write(L"String1", f.LabeledEdit1.Text);
  ini.Write(L"String2", f.LabeledEdit2.Text);
  ini.Write(L"String3", f.LabeledEdit3.Text);
  ini.Write(L"NotReplyCheck", BoolText(f.CheckBox1.Checked));
  ini.Write(L"ArchiveCheck", BoolText(f.CheckBox2.Checked));
  ini.Write(L"ArchiveType", std::to_wstring(f.RadioGroup1.ItemIndex));
  ini.Write(L"WriteFileName", BoolText(f.CheckBox3.Checked));
  ini.Write(L"WriteWord", f.LabeledEdit5.Text);
  ini.Write(L"SendWarning", BoolText(f.CheckBox4.Checked));
  ini.Write(L"CheckPassword", BoolText(f.CheckBox5.Checked));
  ini.Write(L"OverSizeCheck", BoolText(f.CheckBox6.Checked));
  ini.Write(L"OverSize", f.LabeledEdit4.Text);
  ini.Write(L"FileNameChange", BoolText(f.CheckBox7.Checked));
  ini.Write(L"Paint", f.ButtonedEdit1.Text);
  ini.Write(L"Comp", std::to_wstring(f.TrackBar1.Position));
  ini.Write(L"AutoWinmaildat", BoolText(f.CheckBox8.Checked));
  ini.Write(L"AddFile", BoolText(f.CheckBox9.Checked));
  ini.Write(L"XMailerAdd", BoolText(f.CheckBox10.Checked));
  ini.Write(L"FormatChange", BoolText(f.CheckBox11.Checked));
  ini.Write(L"GmailSendCheck", BoolText(f.CheckBox12.Checked));
  return std::nullopt;
}

}  // namespace vlm
