#include "plugin/win32/lifecycle.h"

#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "archiver/win32/form_archive_file.h"
#include "compose/win32/compose_hook.h"
#include "base/ansi_text.h"
#include "base/files.h"
#include "base/plugin_state.h"
#include "base/settings_form.h"
#include "base/win32/app_window.h"
#include "base/win32/crash/crash_report.h"
#include "base/win32/crash/fault_note.h"
#include "base/win32/host_registry.h"
#include "base/win32/shell_folders.h"
#include "base/win32/module.h"
#include "base/win32/ini_file.h"
#include "sendcheck/win32/outgoing_check.h"
#include "plugin/win32/load_state.h"
#include "plugin/win32/settings_dialog.h"
#include "received/win32/received_commands.h"

namespace vlm {
namespace {

// The host's ids of the two commands registered at start-up, for the context menus.
int WinmailCommandId = 0;
int AddFileCommandId = 0;

constexpr wchar_t kWinmailItem[] = L"winmail.datを展開して添付";
constexpr wchar_t kAddFileItem[] = L"メールにファイルを追加する";

std::wstring Folder(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L"\\/"));
}

// FormCreate: the runtime fields start empty and the host's main window is looked up once.
std::unique_ptr<TForm1> CreateForm() {
  auto form = std::make_unique<TForm1>();
  form->bFileAddAgree = false;
  form->NewMesWindow.clear();
  form->B2OhWnd = FindWindowW(L"Becky2MainFrame", nullptr);
  form->ArchiveFile = CreateFormArchiveFile();
  return form;
}

// The plug-in folder may be one the user cannot write (under Program Files): a flag that cannot
// be remembered only brings the notice back at the next start, never an error at start or exit.
void RememberFlag(TWinIniFile& ini, const wchar_t* key, const wchar_t* value) {
  try {
    ini.Write(key, value);
  } catch (const std::runtime_error&) {
  }
}

void WarnAboutComposeThread(TWinIniFile& ini) {
  if (!ComposeThreadAtStart || ReadBool(ini, L"WarningComposeThread", false)) return;
  ShowMessage(
      L"Becky!の設定で\r\n「メール作成ウィンドウを別スレッドで起動」\r\nがOnになっています。\r\n"
      L"この場合Velmoraの機能が制限されます。",
      L"Velmora確認", MB_ICONINFORMATION | MB_OK);
  RememberFlag(ini, L"WarningComposeThread", L"-1");
}

// The host takes a command's description as Shift-JIS whatever the system's code page.
int Register(const wchar_t* description, TCommandHandler handler) {
  return HostApi->RegisterCommand(ToShiftJis(description).c_str(), 1, handler);
}

void InsertItem(HMENU menu, UINT position, UINT id, const wchar_t* text) {
  InsertMenuW(menu, position, MF_BYPOSITION | MF_STRING, id, text);
}

void InsertSeparator(HMENU menu, UINT position) {
  InsertMenuW(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

bool AddFileOffered() {
  return SettingsForm->CheckBox9.Checked && CanAddFile(nullptr);
}

}  // namespace

void StartPlugin() {
  SettingsForm = CreateForm().release();
  TForm1& form = *SettingsForm;
  form.Label1 = L"Velmora Ver." + PluginVersion;
  const std::wstring folder = Folder(ModulePath());
  form.IniFileName = folder + L"\\" + ModuleBaseName() + L".ini";
  form.PluginFolder = folder + L"\\";
  const char* temp = HostApi->GetTempFolder();
  form.TempFolder = FromAnsi(temp ? temp : "");

  TWinIniFile ini(form.IniFileName);
  LoadSettings(form, ini);
  StartCrashReports(ReadBool(ini, L"CrashReport", true), form.TempFolder,
                    HostApi->HostVersion.c_str());
  WatchUnhandledFaults();
  OpenPath = ini.Read(L"OpenPath").value_or(L"");
  if (!FolderExists(OpenPath)) OpenPath = DesktopFolder(static_cast<HWND>(AppWindow));
  form.RadioGroup1Click();
  WarnAboutComposeThread(ini);

  WinmailCommandId =
      Register(L"添付されている「winmail.dat」を展開して添付します。", ExpandWinmailCommand);
  AddFileCommandId = Register(L"選択されているメールにファイルを追加します。", AddFileCommand);
  HookStart();
}

void ExitPlugin() {
  std::unique_ptr<TForm1> form(SettingsForm);
  SettingsForm = nullptr;
  if (!form) return;
  // FormDestroy. The hook goes and the form is freed even when the registry probe fails.
  struct Cleanup {
    TForm1& form;
    ~Cleanup() {
      form.NewMesWindow.clear();
      HookStop();
    }
  } cleanup{*form};
  if (HostComposeThread()) {
    TWinIniFile ini(form->IniFileName);
    if (!ComposeThreadAtStart && ReadBool(ini, L"WarningComposeThread", false))
      RememberFlag(ini, L"WarningComposeThread", L"0");
  }
}

void AddMenuItems(HMENU menu, int type) {
  const UINT end = static_cast<UINT>(GetMenuItemCount(menu));
  if (type == 1) {
    bool inserted = false;
    if (AddFileOffered()) {
      InsertItem(menu, end, static_cast<UINT>(AddFileCommandId), kAddFileItem);
      inserted = true;
    }
    if (HasWinmailPart(nullptr)) {
      InsertItem(menu, end, static_cast<UINT>(WinmailCommandId), kWinmailItem);
      inserted = true;
    }
    if (inserted) InsertSeparator(menu, end);
  } else if (type == 3) {
    if (AddFileOffered()) {
      InsertItem(menu, end, static_cast<UINT>(AddFileCommandId), kAddFileItem);
      InsertSeparator(menu, end);
    }
  }
}

void RecordComposeWindow(HWND window) {
  SettingsForm->NewMesWindow.push_back(std::to_wstring(reinterpret_cast<UINT_PTR>(window)));
  if (!SettingsForm->CheckBox10.Checked) return;
  // A versioned value the code page cannot carry, or a conversion that fails, would reach the
  // header as "?" or as nothing: the plain name is set instead.
  std::optional<std::string> value;
  try {
    value = ToAnsiExact(L"Velmora for Becky!2 Ver." + PluginVersion);
  } catch (const std::exception&) {
    // No memory for the text: the plain name below.
  }
  HostApi->CompSetSpecifiedHeader(window, "X-Mailer-Plugin",
                                  value ? value->c_str() : "Velmora for Becky!2");
}

void OnRetrieve(const char* mail) {
  if (SettingsForm->CheckBox8.Checked && HasWinmailPart(mail)) ExpandWinmail(mail);
}

int CheckBeforeSend(const char* message) {
  return CheckOutgoingMessage(message);
}

void ShowSettings() {
  ShowSettingsDialog(*SettingsForm);
}

}  // namespace vlm
