#include "received/win32/add_file_dialog.h"

#include <windows.h>

#include <commdlg.h>

#include <exception>
#include <vector>

#include "base/ansi_text.h"
#include "base/code_page_name.h"
#include "base/plugin_state.h"
#include "base/settings_form.h"
#include "base/win32/app_window.h"
#include "base/code_page_copy.h"
#include "base/files.h"
#include "base/win32/ini_file.h"
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
    TWinIniFile(SettingsForm->IniFileName).Write(L"OpenPath", OpenPath);
  } catch (const std::exception&) {
  }
  OpenPath.clear();
}

// The host reads the file by a code-page path: a file whose path the code page cannot hold goes
// as a copy in the host's temporary folder under the nearest name it can. Nothing when the copy
// cannot be made; a box then names the file and says why.
std::optional<std::string> CodePagePath(const std::wstring& path) {
  if (auto ansi = ToAnsiExact(path)) return ansi;
  const std::wstring name = path.substr(path.find_last_of(L"\\/:") + 1);
  const std::wstring copy = SettingsForm->TempFolder + NearestCodePageName(name);
  // The temporary folder came from the host in the code page, so the copy's path fits it.
  const std::wstring problem = CopyUnderCodePageNames(path, copy);
  if (problem.empty()) return ToAnsi(copy);
  ShowMessage(L"「" + name +
                  L"」は追加しません。\r\n"
                  L"名前にシステムの文字コードで表せない文字があるため、表せる名前で一時フォルダに"
                  L"コピーしようとしましたが、できませんでした。\r\n" +
                  problem,
              L"Velmora(処理中断)", MB_OK | MB_ICONWARNING);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ChooseFileToAdd() {
  const auto path = AskForPath();
  if (!path) return std::nullopt;
  SaveOpenPath();
  if (FileSize(*path) > kAddFileLimit) {
    ShowMessage(L"ファイルが大きすぎます。\r\n処理を中止します。", L"Velmora(処理中断)",
                MB_OK | MB_ICONWARNING);
    return std::nullopt;
  }
  return CodePagePath(*path);
}

}  // namespace vlm
