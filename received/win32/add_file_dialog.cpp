#include "received/win32/add_file_dialog.h"

#include <windows.h>

#include <commdlg.h>

#include <exception>
#include <vector>

#include "plugin/ansi_text.h"
#include "plugin/plugin_state.h"
#include "plugin/settings_form.h"
#include "plugin/win32/app_window.h"
#include "plugin/win32/environment.h"
#include "plugin/win32/ini_file.h"
#include "received/add_file.h"

namespace vlm {
namespace {

std::optional<std::wstring> AskForPath() {
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(AppWindow);
  dialog.lpstrFilter = L"ﾌｧｲﾙ(*.*)\0*.*\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = OpenPath.empty() ? nullptr : OpenPath.c_str();
  // The dialog would otherwise move the host's current directory along with the user.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return std::wstring(file.data());
}

// The folder the dialog opened in goes to the INI file for the next run. Later dialogs of this
// run open without a preset folder, and writing that empty value would lose the one saved, so
// only a folder is written. Failing to write it costs the user only the preset folder of a later
// run, so the addition goes on.
void SaveOpenPath() {
  if (OpenPath.empty()) return;
  try {
    WinIniFile(SettingsForm->IniFileName).Write(L"OpenPath", OpenPath);
  } catch (const std::exception&) {
  }
  OpenPath.clear();
}

}  // namespace

std::optional<std::string> ChooseFileToAdd() {
  const auto path = AskForPath();
  if (!path) return std::nullopt;
  SaveOpenPath();
  if (FileSizeOf(*path) > kAddFileLimit) {
    ShowMessage(L"ファイルが大きすぎます。\r\n処理を中止します。", L"Velmora(処理中断)",
                MB_OK | MB_ICONWARNING);
    return std::nullopt;
  }
  auto ansi = ToAnsiExact(*path);
  if (!ansi) HostApi->SetMessageText(nullptr, ToAnsi(kAddFailedText).c_str());
  return ansi;
}

}  // namespace vlm
