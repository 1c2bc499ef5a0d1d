// Scenario verbs for drops and pastes onto the host's windows, and the files they carry:
//   drop <window> <path>...             WM_DROPFILES (ANSI file list) posted to the window
//   drop-wide <window> <path>...        the same with a wide file list, as Explorer posts it
//   drop-twice <window> <path> <path>   two one-item drops posted together
//   paste <window> [ctrl|ctrl+shift] [bitmap [WxH]|mono WxH|photo WxH|text]   a V key press
//                                       with that clipboard (a bitmap of 32x24 unless a size is
//                                       given; a one-bit bitmap is small to hold at sizes whose
//                                       24-bit copy a 32-bit process cannot allocate; a photo is
//                                       colour waves with noise, its pixels also written to
//                                       clipboard.bmp in the work folder)
//   clipboard-state                     whether some window still holds the clipboard open
//   make-file <path> <bytes>            a file of text lines in the work folder
//   make-folder <path>                  a folder and its parents
//   hide <path>                         marks a file or folder hidden
//   current-folder <path>               the host's current folder, as for a host started there
//   lock <path>                         opens a file without sharing until the host ends, as
//                                       another program holding it would
//   password <text> | password-close <text>         the next answer of the password dialog
//   password-screenshot <file.bmp>      a picture of the next answered password dialog
//   compose-unrecorded                  a compose window the plug-in is never told about
// <window> is main, main.list, composeN, composeN.body, composeN.header, or unrecorded(.body).
// Whether the host's own window procedure got the message is recorded, and so is every drop
// handle the plug-in frees and every program it launches (the launch is not carried out).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "resources/password_dialog_ids.h"
#include "tests/host/host_world.h"
#include "tests/host/import_patch.h"
#include "tests/host/scenario.h"
#include "tests/host/screenshot.h"
#include "tests/host/transcript.h"

namespace host {
namespace {

std::vector<std::string> Words(const std::string& args) {
  std::istringstream in(args);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::wstring ItemPath(const std::string& path) {
  return path.find(':') != std::string::npos ? Wide(path) : WorkPath(path);
}

// --- windows --------------------------------------------------------------------------------

HWND gUnrecorded = nullptr;

HWND Child(HWND parent, int id) {
  return parent ? GetDlgItem(parent, id) : nullptr;
}

HWND TargetWindow(const std::string& name) {
  const size_t dot = name.find('.');
  const std::string frame = name.substr(0, dot),
                    part = dot == std::string::npos ? "" : name.substr(dot + 1);
  HWND window = frame == "unrecorded" ? gUnrecorded : World().WindowByName(frame);
  if (part.empty() || !window) return window;
  if (frame == "main") return Child(window, part == "list" ? 101 : 102);
  return Child(window, part == "header" ? 201 : 202);
}

// The host's shell functions, looked up at run time: the stand-in host links no shell library.
template <typename Fn>
Fn Shell(const char* name) {
  static HMODULE shell = LoadLibraryW(L"shell32.dll");
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(shell, name)));
}
UINT HostDragQueryFile(HDROP drop, UINT index) {
  static auto query = Shell<UINT(WINAPI*)(HDROP, UINT, LPSTR, UINT)>("DragQueryFileA");
  return query(drop, index, nullptr, 0);
}
void HostDragFinish(HDROP drop) {
  static auto finish = Shell<void(WINAPI*)(HDROP)>("DragFinish");
  finish(drop);
}

// The host's own handling of a message it is given: recorded, and a drop's list freed as the
// host frees it.
std::map<HWND, WNDPROC> gOriginalProcs;
std::map<HWND, std::string> gNames;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) {
    const UINT count = HostDragQueryFile(reinterpret_cast<HDROP>(wParam), 0xFFFFFFFF);
    Log().Line("host window " + gNames[window] + " handles WM_DROPFILES (" + std::to_string(count) +
               " items)");
    HostDragFinish(reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == 'V')
    Log().Line("host window " + gNames[window] + " handles the V key press");
  return CallWindowProcW(gOriginalProcs[window], window, message, wParam, lParam);
}

void Record(HWND window, const std::string& name) {
  gNames[window] = name;
  if (gOriginalProcs.count(window)) return;
  gOriginalProcs[window] = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
}

// --- what the plug-in does with the system ---------------------------------------------------

using DragFinishFn = void(WINAPI*)(HDROP);
using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
DragFinishFn gRealDragFinish = nullptr;
HMODULE gPatched = nullptr;

void WINAPI RecordingDragFinish(HDROP drop) {
  Log().Line("plug-in frees the drop handle");
  gRealDragFinish(drop);
}

BOOL WINAPI RecordingShellExecuteEx(SHELLEXECUTEINFOW* info) {
  Log().Line("plug-in launches " + Log().QuoteWide(info->lpFile ? info->lpFile : L"") + " verb " +
             Log().QuoteWide(info->lpVerb ? info->lpVerb : L"") + " (not started)");
  info->hProcess = nullptr;
  info->hInstApp = reinterpret_cast<HINSTANCE>(SE_ERR_FNF);
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}

void WatchPlugin() {
  if (!World().plugin || gPatched == World().plugin) return;
  gPatched = World().plugin;
  if (void* real = PatchImport(gPatched, "shell32.dll", "DragFinish",
                               reinterpret_cast<void*>(&RecordingDragFinish)))
    gRealDragFinish = reinterpret_cast<DragFinishFn>(real);
  PatchImport(gPatched, "shell32.dll", "ShellExecuteExW",
              reinterpret_cast<void*>(&RecordingShellExecuteEx));
}

// --- drops -------------------------------------------------------------------------------------

// A DROPFILES block with `paths` (ANSI or wide text), each NUL-terminated, and a final NUL.
template <typename Char>
HGLOBAL MakeDropList(const std::vector<std::basic_string<Char>>& paths) {
  size_t listSize = 1;
  for (const auto& path : paths) listSize += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + listSize * sizeof(Char));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = sizeof(Char) == sizeof(wchar_t);
  auto* list = reinterpret_cast<Char*>(header + 1);
  for (const auto& path : paths) {
    memcpy(list, path.c_str(), (path.size() + 1) * sizeof(Char));
    list += path.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

// Posts a drop of `paths` onto the named window, as an ANSI list or (`wide`) a wide one as
// Explorer posts it; false when there is no such window.
bool PostDrop(const std::string& windowName, const std::vector<std::string>& items,
              bool wide = false) {
  HWND window = TargetWindow(windowName);
  if (!window) {
    Log().Line("error: no window " + windowName);
    return false;
  }
  WatchPlugin();
  Record(window, windowName);
  std::vector<std::string> paths;
  std::vector<std::wstring> widePaths;
  std::string shown;
  for (const auto& item : items) {
    widePaths.push_back(ItemPath(item));
    paths.push_back(ToAnsi(widePaths.back()));
    shown += ' ';
    shown += wide ? Log().QuoteWide(widePaths.back()) : Log().Quote(paths.back().c_str());
  }
  Log().Line("drop " + std::string(wide ? "(wide list) " : "") + "on " + windowName + ":" + shown);
  const HGLOBAL list = wide ? MakeDropList(widePaths) : MakeDropList(paths);
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(list), 0);
  return true;
}

const VerbRegistration drop("drop", [](const std::string& args, Script&) {
  const auto words = Words(args);
  if (words.empty()) return false;
  return PostDrop(words[0], {words.begin() + 1, words.end()});
});

// Two one-item drops queued together: the second is taken off the queue while the plug-in is
// still busy with the first (by the nested loop of its first question).
const VerbRegistration dropWide("drop-wide", [](const std::string& args, Script&) {
  const auto words = Words(args);
  if (words.empty()) return false;
  return PostDrop(words[0], {words.begin() + 1, words.end()}, true);
});

const VerbRegistration dropTwice("drop-twice", [](const std::string& args, Script&) {
  const auto words = Words(args);
  if (words.size() != 3) return false;
  return PostDrop(words[0], {words[1]}) && PostDrop(words[0], {words[2]});
});

// --- pastes ------------------------------------------------------------------------------------

// A picture one can recognise in a screenshot: a blue frame around a red and a green half.
HBITMAP MakePicture(int width, int height) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto fill = [dc](RECT r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  };
  fill({0, 0, width, height}, RGB(0, 0, 255));
  fill({2, 2, width / 2, height - 2}, RGB(255, 0, 0));
  fill({width / 2, 2, width - 2, height - 2}, RGB(0, 160, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// A picture like a photograph: smooth colour waves with sensor-like noise, the same at every
// run. Its pixels are written to clipboard.bmp in the work folder as a 24-bit BMP, for a check
// that compares an attached file with what was pasted.
HBITMAP MakePhoto(int width, int height) {
  const BITMAPINFOHEADER info = Bmp24Header(width, height);
  const size_t stride = info.biSizeImage / static_cast<size_t>(height);
  std::vector<unsigned char> pixels(info.biSizeImage);
  unsigned seed = 932;
  const auto noise = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % 25) - 12;
  };
  for (int y = 0; y < height; ++y) {
    unsigned char* row = pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const double wave[3] = {std::sin(x / 23.0 + y / 41.0), std::sin(x / 37.0 - y / 19.0),
                              std::cos((x + y) / 29.0)};
      for (int c = 0; c < 3; ++c)
        row[x * 3 + c] = static_cast<unsigned char>(
            std::clamp(128 + static_cast<int>(90 * wave[c]) + noise(), 0, 255));
    }
  }
  SaveBmp24(WorkPath("clipboard.bmp"), info, pixels.data());
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  SetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(),
            reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

enum class TClipboard { kBitmap, kMono, kPhoto, kText };

void PutOnClipboard(TClipboard kind, int width, int height) {
  OpenClipboard(World().mainWindow);
  EmptyClipboard();
  if (kind == TClipboard::kMono) {
    SetClipboardData(CF_BITMAP, CreateBitmap(width, height, 1, 1, nullptr));
  } else if (kind == TClipboard::kPhoto) {
    SetClipboardData(CF_BITMAP, MakePhoto(width, height));
  } else if (kind == TClipboard::kBitmap) {
    SetClipboardData(CF_BITMAP, MakePicture(width, height));
  } else {
    const wchar_t text[] = L"pasted text";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    memcpy(GlobalLock(memory), text, sizeof text);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
  }
  CloseClipboard();
}

void SetKeys(bool ctrl, bool shift) {
  BYTE keys[256] = {};
  if (ctrl) keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
  if (shift) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
  SetKeyboardState(keys);
}

const VerbRegistration paste("paste", [](const std::string& args, Script&) {
  const auto words = Words(args);
  HWND window = words.empty() ? nullptr : TargetWindow(words[0]);
  if (!window) {
    Log().Line("error: no window " + args);
    return false;
  }
  const std::string keys = words.size() > 1 ? words[1] : "ctrl";
  const std::string what = words.size() > 2 ? words[2] : "bitmap";
  const TClipboard kind = what == "mono"    ? TClipboard::kMono
                          : what == "photo" ? TClipboard::kPhoto
                          : what == "text"  ? TClipboard::kText
                                            : TClipboard::kBitmap;
  const bool bitmap = kind != TClipboard::kText;
  int width = 32, height = 24;
  if (words.size() > 3) std::sscanf(words[3].c_str(), "%dx%d", &width, &height);
  WatchPlugin();
  Record(window, words[0]);
  PutOnClipboard(kind, width, height);
  SetForegroundWindow(GetAncestor(window, GA_ROOT));
  SetKeys(keys.find("ctrl") != std::string::npos, keys.find("shift") != std::string::npos);
  Log().Line("paste on " + words[0] + " with " + keys + "+V, clipboard " +
             (bitmap ? "bitmap" : "text"));
  PostMessageW(window, WM_KEYDOWN, 'V', 1);
  Pump();
  SetKeys(false, false);
  return true;
});

DWORD WINAPI TryOpenClipboard(void* opened) {
  *static_cast<BOOL*>(opened) = OpenClipboard(nullptr);
  if (*static_cast<BOOL*>(opened)) CloseClipboard();
  return 0;
}

const VerbRegistration clipboardState("clipboard-state", [](const std::string&, Script&) {
  // The clipboard belongs to one thread at a time: another program's thread is what a clipboard
  // left open would lock out (this thread could open it again regardless).
  BOOL opened = FALSE;
  HANDLE other = CreateThread(nullptr, 0, TryOpenClipboard, &opened, 0, nullptr);
  WaitForSingleObject(other, INFINITE);
  CloseHandle(other);
  Log().Line(opened ? "clipboard free for other threads" : "clipboard held open");
  return true;
});

// --- files -------------------------------------------------------------------------------------

const VerbRegistration makeFile("make-file", [](const std::string& args, Script&) {
  const auto words = Words(args);
  if (words.size() != 2) return false;
  const long long size = std::stoll(words[1]);
  std::ofstream out(ItemPath(words[0]).c_str(), std::ios::binary | std::ios::trunc);
  const std::string line = "Velmora test data line, repeated to make the file large enough.\r\n";
  for (long long left = size; left > 0; left -= static_cast<long long>(line.size()))
    out.write(line.data(), std::min<long long>(left, static_cast<long long>(line.size())));
  return out.good();
});

const VerbRegistration makeFolder("make-folder", [](const std::string& args, Script&) {
  const std::wstring path = ItemPath(args);
  for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
    CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryW(path.c_str(), nullptr);
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
});

const VerbRegistration hide("hide", [](const std::string& args, Script&) {
  const std::wstring path = ItemPath(args);
  return SetFileAttributesW(path.c_str(),
                            GetFileAttributesW(path.c_str()) | FILE_ATTRIBUTE_HIDDEN) != 0;
});

const VerbRegistration currentFolder("current-folder", [](const std::string& args, Script&) {
  return SetCurrentDirectoryW(ItemPath(args).c_str()) != FALSE;
});

// Closes the locked files when the host ends.
struct LockedFiles {
  std::vector<HANDLE> handles;
  ~LockedFiles() {
    for (HANDLE handle : handles) CloseHandle(handle);
  }
};

const VerbRegistration lock("lock", [](const std::string& args, Script&) {
  static LockedFiles locked;
  HANDLE file = CreateFileW(ItemPath(args).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  locked.handles.push_back(file);
  return true;
});

const VerbRegistration unrecorded("compose-unrecorded", [](const std::string&, Script&) {
  gUnrecorded =
      CreateWindowExW(0, L"becky2composeframe", L"unrecorded", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80,
                      80, 500, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, 0, 30, 480,
                  200, gUnrecorded, reinterpret_cast<HMENU>(202), GetModuleHandleW(nullptr),
                  nullptr);
  Log().Line("host opens a compose window without telling the plug-in");
  return gUnrecorded != nullptr;
});

// --- the password dialog -------------------------------------------------------------------------

struct PasswordAnswer {
  std::string text;  // UTF-8
  bool close;        // the system menu's close button instead of "OK"
};
std::deque<PasswordAnswer> gPasswords;
std::deque<std::wstring> gPasswordShots;  // pictures of the dialog, taken once the text is typed
HHOOK gCbtHook = nullptr;
HWND gPasswordDialog = nullptr;

// The client area and the controls' rectangles in it, as "client WxH edit X,Y WxH button ...".
std::string Layout(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  std::string text = "client " + std::to_string(client.right) + "x" + std::to_string(client.bottom);
  for (auto [name, id] : {std::pair{"edit", IDC_PasswordEdit1}, {"button", IDC_PasswordButton1}}) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    text += std::string(" ") + name + " " + std::to_string(r.left) + "," + std::to_string(r.top) +
            " " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
  }
  return text;
}

// A message box on this thread other than `dialog`. The plug-in's boxes are owned by its
// application window, so the password dialog stays enabled while one of them is up.
bool BoxOpenBesides(HWND dialog) {
  struct Search {
    HWND dialog;
    bool found;
  } search{dialog, false};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM param) WINAPI -> BOOL {
        auto* search = reinterpret_cast<Search*>(param);
        wchar_t name[16] = L"";
        GetClassNameW(window, name, 16);
        if (window != search->dialog && IsWindowVisible(window) && std::wstring(name) == L"#32770")
          search->found = true;
        return !search->found;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CALLBACK AnswerPassword(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND dialog = gPasswordDialog;
  if (!IsWindow(dialog) || !IsWindowEnabled(dialog) || BoxOpenBesides(dialog)) {
    if (IsWindow(dialog)) SetTimer(nullptr, 0, 50, AnswerPassword);  // a box is over it
    return;
  }
  if (gPasswords.empty()) {
    Log().Line("password dialog: no answer scripted, closing it");
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    return;
  }
  const PasswordAnswer answer = gPasswords.front();
  gPasswords.pop_front();
  HWND edit = GetDlgItem(dialog, IDC_PasswordEdit1);
  SetWindowTextW(edit, Wide(answer.text).c_str());
  wchar_t caption[64] = L"";
  GetWindowTextW(dialog, caption, 64);
  const bool masked = SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0) == '*';
  Log().Line("password dialog caption=" + Log().QuoteWide(caption) + " " + Layout(dialog) +
             (masked ? " masked" : " NOT masked") + " <- " + Log().QuoteWide(Wide(answer.text)) +
             (answer.close ? " then close" : " then OK"));
  if (!gPasswordShots.empty()) {
    Pump();  // a dialog just shown may not have painted yet
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (!SaveScreenshot(dialog, gPasswordShots.front())) Log().Line("password screenshot FAILED");
    gPasswordShots.pop_front();
  }
  if (answer.close)
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  else
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PasswordButton1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PasswordButton1)));
  SetTimer(nullptr, 0, 100, AnswerPassword);  // still open after a refusal: the next answer
}

LRESULT CALLBACK PasswordCbt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (window != gPasswordDialog && GetDlgItem(window, IDC_PasswordEdit1) &&
        GetDlgItem(window, IDC_PasswordButton1)) {
      gPasswordDialog = window;
      SetTimer(nullptr, 0, 30, AnswerPassword);
    }
  }
  return CallNextHookEx(gCbtHook, code, wParam, lParam);
}

bool QueuePassword(const std::string& text, bool close) {
  if (!gCbtHook) gCbtHook = SetWindowsHookExW(WH_CBT, PasswordCbt, nullptr, GetCurrentThreadId());
  gPasswords.push_back({text, close});
  return true;
}

const VerbRegistration password("password", [](const std::string& args, Script&) {
  return QueuePassword(args, false);
});
// `password-screenshot <file.bmp>`: the next answered password dialog is saved as a picture.
const VerbRegistration passwordShot("password-screenshot", [](const std::string& args, Script&) {
  gPasswordShots.push_back(WorkPath(args));
  return true;
});
const VerbRegistration passwordClose("password-close", [](const std::string& args, Script&) {
  return QueuePassword(args, true);
});

}  // namespace
}  // namespace host
