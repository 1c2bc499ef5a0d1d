#include "received/win32/received_commands.h"

#include <exception>
#include <string>

#include "base/ansi_text.h"
#include "base/plugin_state.h"
#include "base/settings_form.h"
#include "base/win32/export_guard.h"
#include "base/win32/module.h"
#include "received/add_file.h"
#include "received/win32/add_file_dialog.h"
#include "received/winmail_expansion.h"

// The callbacks and command handlers are called by the host: nothing may leave them as an
// exception, so each stops at its own boundary.
namespace vlm {
namespace {

std::wstring ShortDate() {
  wchar_t date[128] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128);
  return date;
}

TMailTools Tools() {
  return {*HostApi,
          [](const std::wstring& extension) { return FindMimeType(extension).value_or(L""); },
          ShortDate, SettingsForm == nullptr || SettingsForm->LongFileName};
}

// The selected message's id, copied, as host texts are; empty when none is selected.
std::string SelectedMail() {
  const char* mail = HostApi->GetCurrentMail();
  return mail ? std::string(mail) : std::string();
}

}  // namespace

bool HasWinmailPart(const char* mail) {
  try {
    return HasWinmailPart(Tools(), mail);
  } catch (const std::exception&) {
    return false;
  }
}

void ExpandWinmail(const char* mail) {
  try {
    ExpandWinmail(Tools(), mail);
  } catch (const std::exception&) {
  }
}

bool CanAddFile(const char* mail) {
  try {
    return CanAddFile(Tools(), mail);
  } catch (const std::exception&) {
    return false;
  }
}

// A failure the handler expects ends quietly or on the status line; anything else reaches the
// guard and is reported.
void WINAPI ExpandWinmailCommand(HostWnd, std::intptr_t) {
  GuardedVoid("ExpandWinmailCommand", [] {
    try {
      const std::string mail = SelectedMail();
      if (mail.empty()) return;
      const TMailTools tools = Tools();
      // The command may be started from a toolbar or a key as well as from the menu that offers it
      // only when there is something to expand: it never ends without a word.
      if (HasWinmailPart(tools, mail.c_str()))
        ExpandWinmail(tools, mail.c_str());
      else
        HostApi->SetMessageText(nullptr, ToAnsi(kNoWinmailText).c_str());
    } catch (const std::exception&) {
    }
  });
}

void WINAPI AddFileCommand(HostWnd, std::intptr_t) {
  GuardedVoid("AddFileCommand", [] {
    try {
      const std::string mail = SelectedMail();
      if (mail.empty()) return;
      const TMailTools tools = Tools();
      // A message that cannot take a file says so before the user picks one.
      if (const auto refusal = AddFileRefusal(tools, mail.c_str())) {
        HostApi->SetMessageText(nullptr, ToAnsi(*refusal).c_str());
        return;
      }
      if (const auto path = ChooseFileToAdd()) AddFileToMessage(tools, mail.c_str(), *path);
    } catch (const std::exception&) {
      HostApi->SetMessageText(nullptr, ToAnsi(kAddFailedText).c_str());
    }
  });
}

}  // namespace vlm
