#include "base/settings_ini.h"

#include <cwctype>
#include <variant>

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

int ReadInteger(const TIniFile& ini, const wchar_t* key, int fallback) {
  const auto text = ini.Read(key);
  if (!text) return fallback;
  const auto value = ParseInteger(*text);
  if (!value || *value < -2147483647LL || *value > 2147483647LL) return fallback;
  return static_cast<int>(*value);
}

const wchar_t* BoolText(bool value) {
  return value ? L"-1" : L"0";
}

// Reads one setting into its member; absent or unreadable values give the default.
struct Loader {
  TForm1& form;
  const TIniFile& ini;
  const wchar_t* key;
  void operator()(const TTextSetting& s) const {
    (form.*s.edit).Text = ini.Read(key).value_or(s.fallback);
  }
  void operator()(const TFlagSetting& s) const {
    (form.*s.box).Checked = ReadBool(ini, key, s.fallback);
  }
  void operator()(const TArchiveTypeSetting& s) const {
    const int index = ReadInteger(ini, key, s.fallback);
    (form.*s.group).ItemIndex = index == 0 || index == 1 ? index : s.fallback;
  }
  void operator()(const TLevelSetting& s) const {
    (form.*s.bar).SetPosition(ReadInteger(ini, key, s.fallback));
  }
  void operator()(const TFileOnlyFlagSetting& s) const {
    form.*s.flag = ReadBool(ini, key, s.fallback);
  }
  void operator()(const TFileOnlyCountSetting& s) const {
    const auto text = ini.Read(key);
    const auto value = text ? ParseInteger(*text) : std::nullopt;
    form.*s.count = value && *value > 0 ? *value : s.fallback;
  }
};

// Writes one setting's member; booleans as "-1"/"0", numbers in decimal.
struct Saver {
  const TForm1& form;
  TIniFile& ini;
  const wchar_t* key;
  void operator()(const TTextSetting& s) const { ini.Write(key, (form.*s.edit).Text); }
  void operator()(const TFlagSetting& s) const { ini.Write(key, BoolText((form.*s.box).Checked)); }
  void operator()(const TArchiveTypeSetting& s) const {
    ini.Write(key, std::to_wstring((form.*s.group).ItemIndex));
  }
  void operator()(const TLevelSetting& s) const {
    ini.Write(key, std::to_wstring((form.*s.bar).Position));
  }
  void operator()(const TFileOnlyFlagSetting&) const {}
  void operator()(const TFileOnlyCountSetting&) const {}
};

}  // namespace

bool ReadBool(const TIniFile& ini, const std::wstring& key, bool fallback) {
  const auto text = ini.Read(key);
  if (!text) return fallback;
  // The file is not the user's locale: a decimal number is written with a dot.
  if (const auto number = ParseDecimal(*text, L'.')) return *number != 0;
  if (EqualsIgnoringAsciiCase(*text, L"true")) return true;
  if (EqualsIgnoringAsciiCase(*text, L"false")) return false;
  return fallback;
}

void LoadSettings(TForm1& form, const TIniFile& ini) {
  for (const TSetting& setting : SettingsTable())
    std::visit(Loader{form, ini, setting.key}, setting.field);
  form.CheckBox3Click();
  form.CheckBox6Click();
}

bool IsFloatText(const std::wstring& text, wchar_t decimalSeparator) {
  return ParseDecimal(text, decimalSeparator).has_value();
}

std::optional<std::wstring> SaveSettings(const TForm1& f, TIniFile& ini, wchar_t decimalSeparator) {
  if (!IsFloatText(f.LabeledEdit4.Text, decimalSeparator))
    return f.LabeledEdit4.Text + L"は数値ではありません。\r\n\r\n数値を入力してください。";
  if (f.LabeledEdit5.Text.empty() && f.LabeledEdit5.Enabled)
    return L"文言が何も記入されていません。";
  for (const TSetting& setting : SettingsTable())
    std::visit(Saver{f, ini, setting.key}, setting.field);
  return std::nullopt;
}

}  // namespace vlm
