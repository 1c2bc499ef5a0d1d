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
    TSetting{L"String1", TTextSetting{&TForm1::LabeledEdit1, L"添付"}},
    TSetting{L"String2", TTextSetting{&TForm1::LabeledEdit2, L"送付"}},
    TSetting{L"String3", TTextSetting{&TForm1::LabeledEdit3, L""}},
    TSetting{L"NotReplyCheck", TFlagSetting{&TForm1::CheckBox1, true}},
    TSetting{L"ArchiveCheck", TFlagSetting{&TForm1::CheckBox2, false}},
    TSetting{L"ArchiveType", TArchiveTypeSetting{&TForm1::RadioGroup1, 1}},
    TSetting{L"WriteFileName", TFlagSetting{&TForm1::CheckBox3, false}},
    TSetting{L"WriteWord", TTextSetting{&TForm1::LabeledEdit5, L">----- Attachment File -----<"}},
    TSetting{L"SendWarning", TFlagSetting{&TForm1::CheckBox4, false}},
    TSetting{L"CheckPassword", TFlagSetting{&TForm1::CheckBox5, false}},
    TSetting{L"OverSizeCheck", TFlagSetting{&TForm1::CheckBox6, false}},
    TSetting{L"OverSize", TTextSetting{&TForm1::LabeledEdit4, L"1"}},
    TSetting{L"FileNameChange", TFlagSetting{&TForm1::CheckBox7, false}},
    TSetting{L"Paint", TTextSetting{&TForm1::ButtonedEdit1, L"C:\\WINDOWS\\system32\\mspaint.exe"}},
    TSetting{L"Comp", TLevelSetting{&TForm1::TrackBar1, 9}},
    TSetting{L"AutoWinmaildat", TFlagSetting{&TForm1::CheckBox8, false}},
    TSetting{L"AddFile", TFlagSetting{&TForm1::CheckBox9, false}},
    TSetting{L"XMailerAdd", TFlagSetting{&TForm1::CheckBox10, true}},
    TSetting{L"FormatChange", TFlagSetting{&TForm1::CheckBox11, false}},
    TSetting{L"GmailSendCheck", TFlagSetting{&TForm1::CheckBox12, true}},
    TSetting{L"LongFileName", TFileOnlyFlagSetting{&TForm1::LongFileName, true}},
    TSetting{L"SizeCheckBytes", TFileOnlyCountSetting{&TForm1::SizeCheckBytes, 1024000}},
};

void ApplyDefault(TForm1& form, const TSettingField& field) {
  std::visit(Overloaded{
                 [&](const TTextSetting& s) { (form.*s.edit).Text = s.fallback; },
                 [&](const TFlagSetting& s) { (form.*s.box).Checked = s.fallback; },
                 [&](const TArchiveTypeSetting& s) { (form.*s.group).ItemIndex = s.fallback; },
                 [&](const TLevelSetting& s) { (form.*s.bar).SetPosition(s.fallback); },
                 [&](const TFileOnlyFlagSetting& s) { form.*s.flag = s.fallback; },
                 [&](const TFileOnlyCountSetting& s) { form.*s.count = s.fallback; },
             },
             field);
}

}  // namespace

std::span<const TSetting> SettingsTable() {
  return kSettings;
}

}  // namespace vlm

TForm1::TForm1() {
  for (const vlm::TSetting& setting : vlm::SettingsTable()) vlm::ApplyDefault(*this, setting.field);
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

void TForm1::CheckBox9Click(const vlm::TAsker& ask) {
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
