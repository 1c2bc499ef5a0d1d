#include "base/settings_form.h"

#include <array>

namespace vlm {
namespace {

template <class... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};
// Spelled out for compilers without aggregate deduction (clang before 17, used for fuzzing).
template <class... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

const std::array kSettings = {
    Setting{L"String1", TextSetting{&TForm1::LabeledEdit1, L"添付"}},
    Setting{L"String2", TextSetting{&TForm1::LabeledEdit2, L"送付"}},
    Setting{L"String3", TextSetting{&TForm1::LabeledEdit3, L""}},
    Setting{L"NotReplyCheck", FlagSetting{&TForm1::CheckBox1, true}},
    Setting{L"ArchiveCheck", FlagSetting{&TForm1::CheckBox2, false}},
    Setting{L"ArchiveType", ArchiveTypeSetting{&TForm1::RadioGroup1, 1}},
    Setting{L"WriteFileName", FlagSetting{&TForm1::CheckBox3, false}},
    Setting{L"WriteWord", TextSetting{&TForm1::LabeledEdit5, L">----- Attachment File -----<"}},
    Setting{L"SendWarning", FlagSetting{&TForm1::CheckBox4, false}},
    Setting{L"CheckPassword", FlagSetting{&TForm1::CheckBox5, false}},
    Setting{L"OverSizeCheck", FlagSetting{&TForm1::CheckBox6, false}},
    Setting{L"OverSize", TextSetting{&TForm1::LabeledEdit4, L"1"}},
    Setting{L"FileNameChange", FlagSetting{&TForm1::CheckBox7, false}},
    Setting{L"Paint", TextSetting{&TForm1::ButtonedEdit1, L"C:\\WINDOWS\\system32\\mspaint.exe"}},
    Setting{L"Comp", LevelSetting{&TForm1::TrackBar1, 9}},
    Setting{L"AutoWinmaildat", FlagSetting{&TForm1::CheckBox8, false}},
    Setting{L"AddFile", FlagSetting{&TForm1::CheckBox9, false}},
    Setting{L"XMailerAdd", FlagSetting{&TForm1::CheckBox10, true}},
    Setting{L"FormatChange", FlagSetting{&TForm1::CheckBox11, false}},
    Setting{L"GmailSendCheck", FlagSetting{&TForm1::CheckBox12, true}},
    Setting{L"LongFileName", FileOnlyFlagSetting{&TForm1::LongFileName, true}},
};

void ApplyDefault(TForm1& form, const SettingField& field) {
  std::visit(Overloaded{
                 [&](const TextSetting& s) { (form.*s.edit).Text = s.fallback; },
                 [&](const FlagSetting& s) { (form.*s.box).Checked = s.fallback; },
                 [&](const ArchiveTypeSetting& s) { (form.*s.group).ItemIndex = s.fallback; },
                 [&](const LevelSetting& s) { (form.*s.bar).SetPosition(s.fallback); },
                 [&](const FileOnlyFlagSetting& s) { form.*s.flag = s.fallback; },
             },
             field);
}

}  // namespace

std::span<const Setting> SettingsTable() {
  return kSettings;
}

}  // namespace vlm

TForm1::TForm1() {
  for (const vlm::Setting& setting : vlm::SettingsTable()) vlm::ApplyDefault(*this, setting.field);
}

TForm1::~TForm1() = default;

void TForm1::RadioGroup1Click() {
  if (RadioGroup1.ItemIndex == 0) {
    CheckBox5.Enabled = false;
    CheckBox5.Checked = false;
  } else if (RadioGroup1.ItemIndex == 1) {
    CheckBox5.Enabled = true;
  }
}

void TForm1::CheckBox3Click() {
  LabeledEdit5.Enabled = CheckBox3.Checked;
}

void TForm1::CheckBox6Click() {
  LabeledEdit4.Enabled = CheckBox6.Checked;
}

void TForm1::CheckBox9Click(const vlm::Asker& ask) {
  if (CheckCheck || !CheckBox9.Checked) return;
  int answer = vlm::kAnswerYes;
  if (!bFileAddAgree)
    answer =
        ask(L"便利な機能ですが、メールによっては正常にファイルを追加出来なく\r\n"
            L"メールが破損する恐れがあります。\r\n"
            L"(もし、破損したとしてもフォルダの修復で回復が可能です。)\r\n\r\n"
            L"機能を有効にしますか？",
            L"機能使用の確認", vlm::kBoxIconWarning | vlm::kBoxYesNo);
  if (answer == vlm::kAnswerYes)
    bFileAddAgree = true;
  else
    CheckBox9.Checked = false;
}
