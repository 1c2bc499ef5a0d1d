#include "tests/host/message_boxes.h"

#include <windows.h>

#include <cstdio>
#include <deque>
#include <set>

#include "tests/host/held_lock.h"
#include "tests/host/import_patch.h"
#include "tests/host/scenario.h"
#include "tests/host/screenshot.h"
#include "tests/host/transcript.h"

namespace host {
namespace {

// The queues are shared by every thread that shows boxes; each thread answers its own boxes,
// from its own hook and timer.
SRWLOCK gLock = SRWLOCK_INIT;
std::deque<std::string> gAnswers;
std::deque<std::wstring> gBoxShots;
std::set<HWND> gAnswered;
thread_local HHOOK tHook = nullptr;

constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x0440;

bool IsMessageBox(HWND window) {
  wchar_t cls[16] = L"";
  GetClassNameW(window, cls, 16);
  return lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(window, kTextId) != nullptr;
}

std::wstring TextOf(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

// The MB_ flags the box was created with, as far as the window shows them.
unsigned FlagsOf(HWND box) {
  const bool ok = GetDlgItem(box, IDOK), cancel = GetDlgItem(box, IDCANCEL),
             yes = GetDlgItem(box, IDYES), no = GetDlgItem(box, IDNO),
             abort = GetDlgItem(box, IDABORT), retry = GetDlgItem(box, IDRETRY);
  unsigned flags = MB_OK;
  if (yes && no && cancel)
    flags = MB_YESNOCANCEL;
  else if (yes && no)
    flags = MB_YESNO;
  else if (abort)
    flags = MB_ABORTRETRYIGNORE;
  else if (retry && cancel)
    flags = MB_RETRYCANCEL;
  else if (ok && cancel)
    flags = MB_OKCANCEL;

  const HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageW(box, kIconId, STM_GETICON, 0, 0));
  if (icon) {
    struct {
      LPCWSTR id;
      unsigned flag;
    } icons[] = {{IDI_HAND, MB_ICONHAND},
                 {IDI_QUESTION, MB_ICONQUESTION},
                 {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                 {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& i : icons)
      if (LoadIconW(nullptr, i.id) == icon) flags |= i.flag;
  }

  // Which button is the default, counted in the order the box lays them out.
  const LRESULT def = SendMessageW(box, DM_GETDEFID, 0, 0);
  if (HIWORD(def) == DC_HASDEFID) {
    const int id = LOWORD(def);
    const int order[] = {IDOK, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE, IDCANCEL};
    int index = 0;
    for (int candidate : order) {
      if (!GetDlgItem(box, candidate)) continue;
      if (candidate == id) break;
      ++index;
    }
    flags |= static_cast<unsigned>(index) << 8;
  }
  if (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) flags |= MB_TOPMOST;
  return flags;
}

int ButtonFor(const std::string& answer) {
  if (answer == "yes") return IDYES;
  if (answer == "no") return IDNO;
  if (answer == "ok") return IDOK;
  if (answer == "cancel") return IDCANCEL;
  return 0;
}

thread_local std::deque<HWND> tWaiting;
using MessageBoxFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
MessageBoxFn gRealMessageBox = nullptr;
thread_local UINT tLastFlags = 0;
thread_local bool tFlagsKnown = false;

int WINAPI RecordingMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
  tLastFlags = flags;
  tFlagsKnown = true;
  return gRealMessageBox(owner, text, caption, flags);
}

// True, and `answer` without it, when the answer ends in `suffix`.
bool TakeSuffix(std::string& answer, const std::string& suffix) {
  if (answer.size() < suffix.size() ||
      answer.compare(answer.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  answer.resize(answer.size() - suffix.size());
  return true;
}

// An exception of the host's own, raised from the box's message loop and caught by the host's
// handler around the plug-in call: it unwinds through whatever showed the box. It is raised from
// a window procedure of the host, since the system's dispatch of a timer callback takes any
// exception raised inside it.
constexpr DWORD kHostException = 0xE0484F53;
constexpr UINT kRaiseMessage = WM_APP + 1;

LRESULT CALLBACK RaisingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRaiseMessage) return DefWindowProcW(window, message, wParam, lParam);
  DestroyWindow(window);
  Log().Line("host raises exception 0xE0484F53 while the box is up");
  RaiseException(kHostException, 0, 0, nullptr);
  return 0;
}

// A message-only window of this thread that raises the host's exception when the box's loop
// dispatches the message posted to it.
void PostRaise() {
  static const ATOM kind = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = RaisingProc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"HostRaiser";
    return RegisterClassW(&c);
  }();
  HWND raiser = CreateWindowW(MAKEINTATOM(kind), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  PostMessageW(raiser, kRaiseMessage, 0, 0);
}

// Boxes are read and answered from a timer in their own message loop: at activation the box
// has not finished setting itself up (its topmost state, for one).
std::string TakeAnswer() {
  HeldLock hold(gLock);
  if (gAnswers.empty()) return "";
  std::string answer = gAnswers.front();
  gAnswers.pop_front();
  return answer;
}

std::wstring TakeBoxShot() {
  HeldLock hold(gLock);
  if (gBoxShots.empty()) return L"";
  std::wstring path = gBoxShots.front();
  gBoxShots.pop_front();
  return path;
}

void AnswerBox(HWND box) {
  std::string answer = TakeAnswer();
  const bool byKeyboard = TakeSuffix(answer, " by keyboard");
  const bool thenRaise = TakeSuffix(answer, " then raise");
  const size_t deleting = answer.find(" deleting ");
  if (deleting != std::string::npos) {
    const std::string path = answer.substr(deleting + 10);
    answer.resize(deleting);
    const bool deleted = DeleteFileW(WorkPath(path).c_str()) != 0;
    Log().Line("user deletes " + path + (deleted ? "" : " (FAILED)") + " while the box is up");
  }
  int button = ButtonFor(answer);
  if (!button || !GetDlgItem(box, button)) {
    const LRESULT def = SendMessageW(box, DM_GETDEFID, 0, 0);
    button = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
    answer = "(unscripted: default " + std::to_string(button) + ")";
  }
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%X", tFlagsKnown ? tLastFlags : FlagsOf(box));
  tFlagsKnown = false;
  wchar_t ownerClass[64] = L"";
  GetClassNameW(GetWindow(box, GW_OWNER), ownerClass, 64);
  Log().Line("box caption=" + Log().QuoteWide(TextOf(box)) +
             " text=" + Log().QuoteWide(TextOf(GetDlgItem(box, kTextId))) + " flags=" + flags +
             " owner=" + Utf8(ownerClass) + " -> " + answer);
  const std::wstring shot = TakeBoxShot();
  if (!shot.empty()) {
    RedrawWindow(box, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (!SaveScreenshot(box, shot)) Log().Line("box screenshot FAILED");
  }
  if (byKeyboard) {
    // The key passes the thread's message hooks, the plug-in's among them, as a real key does.
    Log().Line("user presses a key while the box is up");
    PostMessageW(box, WM_KEYDOWN, VK_SHIFT, 1);
    PostMessageW(box, WM_KEYUP, VK_SHIFT, 0xC0000001);
  }
  // Posted before the answer, so the box's loop meets the exception before the click.
  if (thenRaise) PostRaise();
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  while (!tWaiting.empty()) {
    HWND box = tWaiting.front();
    tWaiting.pop_front();
    if (IsWindow(box)) AnswerBox(box);
  }
}

bool FirstActivation(HWND box) {
  HeldLock hold(gLock);
  return gAnswered.insert(box).second;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    if (IsMessageBox(box) && FirstActivation(box)) {
      tWaiting.push_back(box);
      SetTimer(nullptr, 0, 10, OnTimer);
    }
  }
  return CallNextHookEx(tHook, code, wParam, lParam);
}

}  // namespace

void InstallMessageBoxAnswerer() {
  tHook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

void RemoveMessageBoxAnswerer() {
  if (tHook) UnhookWindowsHookEx(tHook);
  tHook = nullptr;
}

void WatchMessageBoxFlags(void* module) {
  void* original = PatchImport(static_cast<HMODULE>(module), "user32.dll", "MessageBoxW",
                               reinterpret_cast<void*>(&RecordingMessageBox));
  if (original) gRealMessageBox = reinterpret_cast<MessageBoxFn>(original);
}

void QueueAnswer(const std::string& answer) {
  HeldLock hold(gLock);
  gAnswers.push_back(answer);
}
void QueueBoxScreenshot(const std::wstring& path) {
  HeldLock hold(gLock);
  gBoxShots.push_back(path);
}
int PendingAnswers() {
  HeldLock hold(gLock);
  return static_cast<int>(gAnswers.size());
}

}  // namespace host
