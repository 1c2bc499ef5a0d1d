#pragma once
// The settings form as data. Its controls are the live settings of the whole plug-in: every part
// reads a setting by reading the control that holds it, and the settings dialog keeps these
// values in step with its windows on every change.
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <variant>
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
  int ItemIndex = 0;  // 0 = "LHA", 1 = "ZIP"
};

struct TTrackBar {
  static constexpr int Min = 0;
  static constexpr int Max = 10;
  int Position = 0;
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
  // The size question is asked from this many characters on (INI key "SizeCheckBytes"); only the
  // INI file changes it.
  long long SizeCheckBytes = 1024000;

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
  void CheckBox9Click(const vlm::TAsker& ask);
};

namespace vlm {

// One setting: the INI key (section "Set"), the form member that holds it and the value it has
// when the file does not say. This table is the only place a default or a key is written down:
// the form's construction, LoadSettings and SaveSettings all walk it.
struct TTextSetting {
  TEdit TForm1::*edit;
  const wchar_t* fallback;
};
struct TFlagSetting {
  TCheckBox TForm1::*box;
  bool fallback;
};
struct TArchiveTypeSetting {  // 0 or 1; any other number is the default
  TRadioGroup TForm1::*group;
  int fallback;
};
struct TLevelSetting {  // clamped to the track bar's range
  TTrackBar TForm1::*bar;
  int fallback;
};
struct TFileOnlyFlagSetting {  // no control: only the INI file changes it, so Save never writes it
  bool TForm1::*flag;
  bool fallback;
};
struct TFileOnlyCountSetting {  // a positive whole number, only in the INI file; else the default
  long long TForm1::*count;
  long long fallback;
};
using TSettingField = std::variant<TTextSetting, TFlagSetting, TArchiveTypeSetting, TLevelSetting,
                                   TFileOnlyFlagSetting, TFileOnlyCountSetting>;

struct TSetting {
  const wchar_t* key;
  TSettingField field;
};

// Every setting, in the INI file's key order.
[[nodiscard]] std::span<const TSetting> SettingsTable();

}  // namespace vlm
