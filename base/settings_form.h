#pragma once
// The settings form as data. Its controls are the live settings of the whole plug-in: every part
// reads a setting by reading the control that holds it, and the settings dialog keeps these
// values in step with its windows on every change.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/answers.h"
#include "base/host_api.h"

struct TCheckBox {
  bool Checked = false;
  bool Enabled = true;
};

struct TEdit {
  std::wstring Text;
  bool Enabled = true;
};

struct TRadioGroup {
  int ItemIndex = 1;  // 0 = "LHA", 1 = "ZIP"
};

struct TTrackBar {
  static constexpr int Min = 0;
  static constexpr int Max = 10;
  int Position = 9;
  void SetPosition(int p) { Position = p < Min ? Min : (p > Max ? Max : p); }
};

namespace vlm {
class TArchiveFile;
}  // namespace vlm

class TForm1 {
 public:
  TForm1();
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Controls, by their designer names.
  TEdit LabeledEdit1, LabeledEdit2, LabeledEdit3, LabeledEdit4, LabeledEdit5;
  TCheckBox CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6;
  TCheckBox CheckBox7, CheckBox8, CheckBox9, CheckBox10, CheckBox11, CheckBox12;
  TRadioGroup RadioGroup1;
  TTrackBar TrackBar1;
  TEdit ButtonedEdit1;
  std::wstring Label1 = L"Ver.1.000";
  // A setting without a control: winmail.dat attachments named by their long names (INI key
  // "LongFileName"); only the INI file changes it.
  bool LongFileName = true;

  // Runtime state, not settings.
  bool bFileAddAgree = false;
  vlm::HostWnd B2OhWnd = nullptr;
  bool CheckCheck = false;
  std::wstring IniFileName;
  std::wstring PluginFolder;
  std::wstring TempFolder;
  std::vector<std::wstring> NewMesWindow;
  // The archive component every dropped item is packed with (Windows only; empty elsewhere).
  std::shared_ptr<vlm::TArchiveFile> ArchiveFile;

  // Control behaviour.
  void RadioGroup1Click();
  void CheckBox3Click();
  void CheckBox6Click();
  // Asks for confirmation before the add-file feature is switched on (once per run after Yes).
  void CheckBox9Click(const vlm::Asker& ask);
};
