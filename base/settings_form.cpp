#include "base/settings_form.h"

TForm1::TForm1() {
  LabeledEdit1.Text = L"添付";
  LabeledEdit2.Text = L"送付";
  LabeledEdit4.Text = L"1";
  ButtonedEdit1.Text = L"C:\\WINDOWS\\system32\\mspaint.exe";
  CheckBox1.Checked = true;
  CheckBox10.Checked = true;
  CheckBox12.Checked = true;
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
