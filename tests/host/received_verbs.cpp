// Scenario verbs for received mail: filling the mail store, retrieving and selecting messages,
// context menus and their commands, and the add-file dialog.
//   store-winmail <id> <winmail.dat>  an Outlook-style message around that file ($TESTDATA/...)
//   status <id> <flags>               the host's status flags of a message
//   select <id>                       the message the user has selected
//   retrieve <id>                     the host has just retrieved the message (BKC_OnRetrieve)
//   menu <type>                       builds a context menu of 5 host items, BKC_OnMenuInit
//   pick <item text>                  the user picks that item of the last menu
//   filedialog <path>|cancel          the answer to the next file-open dialog (path below work)
//   invoke <command id>               the host runs a plug-in command without a menu
//   make-sized-file <path> <bytes>    a file of that size below the work folder (folder made)
//   today <yyyy-mm-dd>                the date the plug-in's GetDateFormatW sees as today
//   show-mail <id>                    the stored source, runs of base64 lines summarised
#include <windows.h>

#include <commdlg.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/host_services.h"
#include "tests/host/host_world.h"
#include "tests/host/import_patch.h"
#include "tests/host/scenario.h"
#include "tests/host/transcript.h"
#include "tests/support/base64.h"

namespace host {
namespace {

constexpr int kHostMenuItems = 5;

std::string FirstWord(const std::string& args, std::string* rest) {
  const size_t space = args.find(' ');
  *rest = space == std::string::npos ? "" : args.substr(space + 1);
  return args.substr(0, space);
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// "$TESTDATA/x" is the shared sample folder, found beside the repository the scenario lives in
// (tests/e2e/scenarios), or named by VELMORA_TESTDATA as a Unix path; "$WORK/x" is in the
// scenario's work folder (put there by its .setup script); anything else is relative to the
// scenario's folder.
std::wstring DataPath(const Script& script, const std::string& name) {
  const std::string prefix = "$TESTDATA/";
  const std::string work = "$WORK/";
  if (name.rfind(work, 0) == 0) return WorkPath(name.substr(work.size()));
  std::wstring relative = Wide(name);
  for (auto& c : relative)
    if (c == L'/') c = L'\\';
  if (name.rfind(prefix, 0) != 0) return script.folder + relative;
  relative.erase(0, prefix.size());
  wchar_t unix[MAX_PATH] = L"";
  if (GetEnvironmentVariableW(L"VELMORA_TESTDATA", unix, MAX_PATH)) {
    std::wstring folder = L"Z:" + std::wstring(unix);
    for (auto& c : folder)
      if (c == L'/') c = L'\\';
    return folder + L"\\" + relative;
  }
  return script.folder + L"..\\..\\..\\..\\shared\\testdata\\" + relative;
}

std::string OutlookMessage(const std::string& tnef) {
  return "From: sender@example.com\r\n"
         "To: user@example.jp\r\n"
         "Subject: report\r\n"
         "Date: Fri, 02 Mar 2012 10:00:00 +0900\r\n"
         "Message-ID: <00000000B1@example.com>\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: multipart/mixed;\r\n"
         "\tboundary=\"----=_NextPart_000_0001_01CCF8A2.5A5F6A40\"\r\n"
         "X-MS-TNEF-Correlator: <00000000B1@example.com>\r\n"
         "\r\n"
         "This is a multi-part message in MIME format.\r\n"
         "\r\n"
         "------=_NextPart_000_0001_01CCF8A2.5A5F6A40\r\n"
         "Content-Type: text/plain;\r\n"
         "\tcharset=\"iso-2022-jp\"\r\n"
         "Content-Transfer-Encoding: 7bit\r\n"
         "\r\n"
         "See the attachments.\r\n"
         "\r\n"
         "------=_NextPart_000_0001_01CCF8A2.5A5F6A40\r\n"
         "Content-Type: application/ms-tnef;\r\n"
         "\tname=\"winmail.dat\"\r\n"
         "Content-Transfer-Encoding: base64\r\n"
         "Content-Disposition: attachment;\r\n"
         "\tfilename=\"winmail.dat\"\r\n"
         "\r\n" +
         vlm::test::EncodeBase64Lines(tnef) +
         "\r\n"
         "------=_NextPart_000_0001_01CCF8A2.5A5F6A40--\r\n";
}

bool IsBase64Line(const std::string& line) {
  if (line.size() < 40) return false;
  for (char c : line)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '/' && c != '=')
      return false;
  return true;
}

// The last menu built: its items after the host's own, as the plug-in left them.
struct MenuItem {
  UINT id;
  std::wstring text;
};
std::vector<MenuItem> gMenu;

std::deque<std::string> gFileAnswers;
HMODULE gDialogPatchedIn = nullptr;  // the plug-in module whose import was redirected

BOOL WINAPI AnsweringGetOpenFileName(OPENFILENAMEW* dialog) {
  const std::wstring initial = dialog->lpstrInitialDir ? dialog->lpstrInitialDir : L"(none)";
  std::wstring filter;
  for (const wchar_t* f = dialog->lpstrFilter; f && *f; f += wcslen(f) + 1)
    filter += std::wstring(f) + L"|";
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%lX", dialog->Flags);
  std::string answer = gFileAnswers.empty() ? "cancel" : gFileAnswers.front();
  if (!gFileAnswers.empty()) gFileAnswers.pop_front();
  Log().Line("dialog GetOpenFileName initial=" + Log().QuoteWide(initial) +
             " filter=" + Log().QuoteWide(filter) +
             " index=" + std::to_string(dialog->nFilterIndex) + " flags=" + flags +
             " owner=" + (dialog->hwndOwner ? "window" : "none") + " -> " + answer);
  if (answer == "cancel") return FALSE;
  const std::wstring path = WorkPath(answer);
  if (path.size() + 1 > dialog->nMaxFile) return FALSE;
  wcscpy(dialog->lpstrFile, path.c_str());
  return TRUE;
}

SYSTEMTIME gToday{};
using GetDateFormatFn = int(WINAPI*)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int);
GetDateFormatFn gRealGetDateFormat = nullptr;
HMODULE gDatePatchedIn = nullptr;

int WINAPI FixedDayGetDateFormat(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format,
                                 LPWSTR out, int size) {
  return gRealGetDateFormat(locale, flags, date ? date : &gToday, format, out, size);
}

bool RequirePlugin() {
  if (World().plugin) return true;
  Log().Line("error: plug-in not loaded");
  return false;
}

const VerbRegistration storeWinmail("store-winmail", [](const std::string& args, Script& script) {
  std::string file;
  const std::string id = FirstWord(args, &file);
  const std::string tnef = ReadBytes(DataPath(script, file));
  if (tnef.empty()) {
    Log().Line("error: no winmail.dat " + file);
    return false;
  }
  const std::string message = OutlookMessage(tnef);
  // The copy lets checks compare the rewritten message with the one received.
  for (const std::wstring& path : {MailPath(id), MailPath(id) + L".original"}) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << message;
  }
  Log().Line("store " + id + ": Outlook message around " + file + " (" +
             std::to_string(tnef.size()) + " bytes)");
  return true;
});

// A real message from a file, stored as it came (its lines as they are in the file).
const VerbRegistration storeEml("store-eml", [](const std::string& args, Script& script) {
  std::string file;
  const std::string id = FirstWord(args, &file);
  const std::string message = ReadBytes(DataPath(script, file));
  if (message.empty()) {
    Log().Line("error: no message " + file);
    return false;
  }
  for (const std::wstring& path : {MailPath(id), MailPath(id) + L".original"}) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << message;
  }
  Log().Line("store " + id + ": " + file + " (" + std::to_string(message.size()) + " bytes)");
  return true;
});

const VerbRegistration status("status", [](const std::string& args, Script&) {
  std::string flags;
  const std::string id = FirstWord(args, &flags);
  SetMailStatus(id, static_cast<std::uint32_t>(std::stoul(flags)));
  return true;
});

const VerbRegistration select("select", [](const std::string& args, Script&) {
  SelectMail(args);
  Log().Line("user selects " + args);
  return true;
});

const VerbRegistration retrieve("retrieve", [](const std::string& args, Script&) {
  if (!RequirePlugin()) return false;
  const std::string source = ReadBytes(MailPath(args));
  Log().Line("host retrieves " + args);
  const int result = World().exports.BKC_OnRetrieve(source.c_str(), args.c_str());
  Log().Line("callback BKC_OnRetrieve(" + args + ") -> " + std::to_string(result));
  return true;
});

const VerbRegistration menu("menu", [](const std::string& args, Script&) {
  if (!RequirePlugin()) return false;
  const int type = std::stoi(args);
  HMENU popup = CreatePopupMenu();
  for (int i = 1; i <= kHostMenuItems; ++i)
    AppendMenuW(popup, MF_STRING, 100 + i, (L"host item " + std::to_wstring(i)).c_str());
  const int result = World().exports.BKC_OnMenuInit(World().mainWindow, popup, type);
  Log().Line("callback BKC_OnMenuInit(menu of " + std::to_string(kHostMenuItems) + ", type " +
             args + ") -> " + std::to_string(result));
  gMenu.clear();
  for (int i = kHostMenuItems; i < GetMenuItemCount(popup); ++i) {
    wchar_t text[256] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info);
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    gMenu.push_back({info.wID, separator ? L"" : text});
    Log().Line("  item " + std::to_string(i) + ": " +
               (separator ? std::string("separator")
                          : Log().QuoteWide(text) + " id " + std::to_string(info.wID)));
  }
  DestroyMenu(popup);
  return true;
});

const VerbRegistration pick("pick", [](const std::string& args, Script&) {
  for (const auto& item : gMenu) {
    if (item.text != Wide(args)) continue;
    for (const auto& command : World().commands) {
      if (command.id != static_cast<int>(item.id)) continue;
      Log().Line("user picks " + Log().QuoteWide(item.text));
      command.handler(World().mainWindow, 0);
      Log().Line("command " + std::to_string(command.id) + " returned");
      return true;
    }
  }
  Log().Line("error: no plug-in item " + args + " in the last menu");
  return false;
});

const VerbRegistration filedialog("filedialog", [](const std::string& args, Script&) {
  if (!RequirePlugin()) return false;
  if (gDialogPatchedIn != World().plugin) {
    gDialogPatchedIn = PatchImport(World().plugin, "comdlg32.dll", "GetOpenFileNameW",
                                   reinterpret_cast<void*>(&AnsweringGetOpenFileName))
                           ? World().plugin
                           : nullptr;
    if (!gDialogPatchedIn) {
      Log().Line("error: the plug-in does not import GetOpenFileNameW");
      return false;
    }
  }
  gFileAnswers.push_back(args);
  return true;
});

const VerbRegistration today("today", [](const std::string& args, Script&) {
  if (!RequirePlugin()) return false;
  gToday = {};
  gToday.wYear = static_cast<WORD>(std::stoi(args.substr(0, 4)));
  gToday.wMonth = static_cast<WORD>(std::stoi(args.substr(5, 2)));
  gToday.wDay = static_cast<WORD>(std::stoi(args.substr(8, 2)));
  if (gDatePatchedIn != World().plugin) {
    void* real = PatchImport(World().plugin, "kernel32.dll", "GetDateFormatW",
                             reinterpret_cast<void*>(&FixedDayGetDateFormat));
    if (!real) {
      Log().Line("error: the plug-in does not import GetDateFormatW");
      return false;
    }
    gRealGetDateFormat = reinterpret_cast<GetDateFormatFn>(real);
    gDatePatchedIn = World().plugin;
  }
  Log().Line("today is " + args);
  return true;
});

const VerbRegistration invoke("invoke", [](const std::string& args, Script&) {
  for (const auto& command : World().commands) {
    if (command.id != std::stoi(args)) continue;
    Log().Line("host runs command " + args);
    command.handler(World().mainWindow, 0);
    Log().Line("command " + args + " returned");
    return true;
  }
  Log().Line("error: no command " + args);
  return false;
});

const VerbRegistration makeFile("make-sized-file", [](const std::string& args, Script&) {
  std::string size;
  const std::string path = FirstWord(args, &size);
  const std::wstring target = WorkPath(path);
  CreateDirectoryW(target.substr(0, target.find_last_of(L'\\')).c_str(), nullptr);
  std::string bytes(std::stoull(size), '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  std::ofstream out(WorkPath(path).c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return true;
});

const VerbRegistration showMail("show-mail", [](const std::string& args, Script&) {
  bool found = false;
  {
    std::ifstream probe(MailPath(args).c_str(), std::ios::binary);
    found = probe.good();
  }
  if (!found) {
    Log().Line("mail " + args + ": absent");
    return true;
  }
  const std::string source = ReadBytes(MailPath(args));
  Log().Line("mail " + args + " (" + std::to_string(source.size()) + " bytes):");
  std::istringstream lines(source);
  int base64 = 0;
  const auto flush = [&] {
    if (base64) Log().Line("  [" + std::to_string(base64) + " lines of base64]");
    base64 = 0;
  };
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsBase64Line(line)) {
      ++base64;
      continue;
    }
    flush();
    Log().Line("  " + Utf8(FromAnsi(line.c_str())));
  }
  flush();
  return true;
});

}  // namespace
}  // namespace host
