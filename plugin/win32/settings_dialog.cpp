#include "plugin/win32/settings_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "base/settings_ini.h"
#include "base/win32/app_window.h"
#include "base/win32/dialog_support.h"
#include "base/win32/launch.h"
#include "base/win32/module.h"
#include "base/win32/export_guard.h"
#include "base/win32/ini_file.h"
#include "base/win32/scoped.h"
#include "base/win32/user_locale.h"
#include "plugin/win32/settings_dialog_layout.h"
#include "resources/resource_ids.h"

namespace vlm {
namespace {

struct CheckBoxBinding {
  int id;
  TCheckBox TForm1::*control;
};

constexpr CheckBoxBinding kCheckBoxes[] = {
    {IDC_CheckBox1, &TForm1::CheckBox1},   {IDC_CheckBox2, &TForm1::CheckBox2},
    {IDC_CheckBox3, &TForm1::CheckBox3},   {IDC_CheckBox4, &TForm1::CheckBox4},
    {IDC_CheckBox5, &TForm1::CheckBox5},   {IDC_CheckBox6, &TForm1::CheckBox6},
    {IDC_CheckBox7, &TForm1::CheckBox7},   {IDC_CheckBox8, &TForm1::CheckBox8},
    {IDC_CheckBox9, &TForm1::CheckBox9},   {IDC_CheckBox10, &TForm1::CheckBox10},
    {IDC_CheckBox11, &TForm1::CheckBox11}, {IDC_CheckBox12, &TForm1::CheckBox12},
};

struct EditBinding {
  int id;
  int label;  // 0: none; a labelled edit's label is enabled with it
  TEdit TForm1::*control;
};

constexpr EditBinding kEdits[] = {
    {IDC_LabeledEdit1, IDC_LabeledEdit1Label, &TForm1::LabeledEdit1},
    {IDC_LabeledEdit2, IDC_LabeledEdit2Label, &TForm1::LabeledEdit2},
    {IDC_LabeledEdit3, IDC_LabeledEdit3Label, &TForm1::LabeledEdit3},
    {IDC_LabeledEdit4, IDC_LabeledEdit4Label, &TForm1::LabeledEdit4},
    {IDC_LabeledEdit5, IDC_LabeledEdit5Label, &TForm1::LabeledEdit5},
    {IDC_ButtonedEdit1, 0, &TForm1::ButtonedEdit1},
};

constexpr wchar_t kMessageCaption[] = L"Velmora";
// After a failed write (the plug-in folder under Program Files, say): what still holds, what to do.
constexpr wchar_t kSettingsNotSavedAdvice[] =
    L"設定は保存されていませんが、Becky!を終了するまでは有効です。\r\n"
    L"Velmora.dllのあるフォルダーに書き込めるようにしてから、もう一度「保存」を押してください。";

int AskUser(const std::wstring& text, const std::wstring& caption, unsigned flags) {
  return ShowMessage(text, caption, flags);
}

// Turns the input method off for an edit that takes only digits. imm32 is bound at run time so
// the module's imports stay with the libraries the whole plug-in needs.
void DisableInputMethod(HWND edit) {
  using AssociateFn = void*(WINAPI*)(HWND, void*);
  const win::TScopedModule imm(LoadLibraryW(L"imm32.dll"));
  if (!imm) return;
  if (auto associate = reinterpret_cast<AssociateFn>(
          reinterpret_cast<void*>(GetProcAddress(imm.get(), "ImmAssociateContext"))))
    associate(edit, nullptr);
}

// The dialog's windows mirror the form: they show its values on opening, and every change the
// user makes goes into the form at once, runs the form's handler for it, and the windows then
// show the checked and enabled states the handler left.
class SettingsDialog {
 public:
  explicit SettingsDialog(TForm1& form) : form_(form) {}
  void Run(HWND owner);

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit();
  void OnCommand(int id, int code);
  void OnCheckBox(int id);
  void ShowValues();
  void ShowStates();
  void Button1Click();
  void Button2Click();
  void ButtonedEdit1RightButtonClick();
  HWND Item(int id) const { return GetDlgItem(window_, id); }

  TForm1& form_;
  win::TScopedGdiObject font_;
  HWND window_ = nullptr;
  // Notifications while the form's values are put into the windows are echoes, not changes.
  bool showing_ = false;
};

void SettingsDialog::Run(HWND owner) {
  TThemedScope themed;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  if (DialogBoxParamW(ModuleHandle(), MAKEINTRESOURCEW(IDD_SettingsForm), owner, Proc,
                      reinterpret_cast<LPARAM>(this)) == -1)
    throw std::runtime_error(
        ToAnsi(L"設定画面を開けません (エラー " + std::to_wstring(GetLastError()) + L")"));
}

INT_PTR CALLBACK SettingsDialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<SettingsDialog*>(lParam)->window_ = window;
  }
  auto* self = reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  // Nothing may unwind through the system's dialog manager.
  return Guarded("BKC_OnPlugInSetup", INT_PTR{FALSE},
                 [&] { return self->Handle(message, wParam, lParam); });
}

INT_PTR SettingsDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == Item(IDC_TrackBar1) && !showing_)
        form_.TrackBar1.SetPosition(
            static_cast<int>(SendMessageW(Item(IDC_TrackBar1), TBM_GETPOS, 0, 0)));
      return TRUE;
    case WM_CLOSE:
      // The close button keeps every change in the form and writes nothing.
      EndDialog(window_, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void SettingsDialog::OnInit() {
  ApplyFormFont(window_, font_);
  DisableInputMethod(Item(IDC_LabeledEdit4));
  HWND slider = Item(IDC_TrackBar1);
  SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(TTrackBar::Min, TTrackBar::Max));
  SendMessageW(slider, TBM_SETTHUMBLENGTH, 18, 0);
  ShowValues();
  // After the values: Label1 takes the size of the version text it was given.
  LayOutSettingsDialog(window_);
  AddRightButton(Item(IDC_ButtonedEdit1), IDC_ButtonedEdit1RightButton);
}

void SettingsDialog::OnCommand(int id, int code) {
  if (showing_) return;
  if (code == EN_CHANGE) {
    for (const EditBinding& e : kEdits)
      if (e.id == id) (form_.*e.control).Text = WindowText(Item(id));
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDOK:
    case IDCANCEL:
      // Enter and Esc: the form has neither a default nor a cancel button.
      return;
    case IDC_Button1:
      Button1Click();
      return;
    case IDC_Button2:
      Button2Click();
      return;
    case IDC_ButtonedEdit1RightButton:
      ButtonedEdit1RightButtonClick();
      return;
    case IDC_RadioGroup1Lha:
    case IDC_RadioGroup1Zip:
      form_.RadioGroup1.ItemIndex = id == IDC_RadioGroup1Lha ? 0 : 1;
      form_.RadioGroup1Click();
      break;
    default:
      OnCheckBox(id);
      break;
  }
  ShowStates();
}

void SettingsDialog::OnCheckBox(int id) {
  for (const CheckBoxBinding& b : kCheckBoxes)
    if (b.id == id) (form_.*b.control).Checked = IsDlgButtonChecked(window_, id) == BST_CHECKED;
  if (id == IDC_CheckBox3) form_.CheckBox3Click();
  if (id == IDC_CheckBox6) form_.CheckBox6Click();
  if (id == IDC_CheckBox9) form_.CheckBox9Click(AskUser);
}

void SettingsDialog::ShowValues() {
  showing_ = true;
  for (const EditBinding& e : kEdits) SetWindowTextW(Item(e.id), (form_.*e.control).Text.c_str());
  SetWindowTextW(Item(IDC_Label1), form_.Label1.c_str());
  SendMessageW(Item(IDC_TrackBar1), TBM_SETPOS, TRUE, form_.TrackBar1.Position);
  ShowStates();
  showing_ = false;
}

void SettingsDialog::ShowStates() {
  const bool wasShowing = showing_;
  showing_ = true;
  for (const CheckBoxBinding& b : kCheckBoxes) {
    const TCheckBox& box = form_.*b.control;
    CheckDlgButton(window_, b.id, box.Checked ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(Item(b.id), box.Enabled);
  }
  for (const EditBinding& e : kEdits) {
    const bool enabled = (form_.*e.control).Enabled;
    EnableWindow(Item(e.id), enabled);
    if (e.label) EnableWindow(Item(e.label), enabled);
  }
  const int index = form_.RadioGroup1.ItemIndex;
  CheckDlgButton(window_, IDC_RadioGroup1Lha, index == 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(window_, IDC_RadioGroup1Zip, index == 1 ? BST_CHECKED : BST_UNCHECKED);
  showing_ = wasShowing;
}

// Save: a refused value or a failed write leaves the dialog open so the user can put it right.
void SettingsDialog::Button1Click() {
  try {
    TWinIniFile ini(form_.IniFileName);
    if (const auto refusal = SaveSettings(form_, ini, UserDecimalSeparator())) {
      ShowMessage(*refusal, kMessageCaption, MB_ICONWARNING | MB_OK);
      return;
    }
  } catch (const std::exception& e) {
    // Nothing is lost: the form already holds the values, and the user learns how to keep them.
    ShowMessage(FromAnsi(e.what()) + L"\r\n\r\n" + kSettingsNotSavedAdvice, kMessageCaption,
                MB_ICONERROR | MB_OK);
    return;
  }
  EndDialog(window_, IDOK);
}

// The archiver installer; whether it started is not the dialog's concern.
void SettingsDialog::Button2Click() {
  StartArchiverInstaller(window_, form_.PluginFolder);
}

void SettingsDialog::ButtonedEdit1RightButtonClick() {
  static const wchar_t kFilter[] = L"実行ﾌｧｲﾙ(*.exe)\0*.exe\0";
  std::vector<wchar_t> path(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = L"exe";
  dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER;
  if (GetOpenFileNameW(&dialog)) SetWindowTextW(Item(IDC_ButtonedEdit1), path.data());
}

// The host's main window is disabled while the dialog is up, so setup cannot be asked for twice.
HWND OwnerFor(const TForm1& form) {
  HWND host = static_cast<HWND>(form.B2OhWnd);
  if (host && IsWindow(host) && GetWindowThreadProcessId(host, nullptr) == GetCurrentThreadId())
    return host;
  return EnsureAppWindow();
}

}  // namespace

void ShowSettingsDialog(TForm1& form) {
  SettingsDialog(form).Run(OwnerFor(form));
}

}  // namespace vlm
