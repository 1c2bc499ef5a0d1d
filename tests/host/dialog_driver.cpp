// Drives the plug-in's dialogs as a user would: the settings dialog and the pasted-image dialog,
// told apart by their captions. Each is modal (inside BKC_OnPlugInSetup, or inside the hook's
// handling of a Ctrl+V), so its actions are queued first (dialog-set, dialog-press, dialog-paste,
// dialog-read, dialog-layout, dialog-screenshot) and `setup` or `paste` then opens it; once the
// dialog is up they run one at a time from a timer in its own message loop. An action that shows a
// message box returns only after the answerer has closed the box, so boxes and actions never
// overlap.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <cstdio>
#include <deque>
#include <iterator>
#include <string>
#include <vector>

#include "resources/image_dialog_ids.h"
#include "resources/resource_ids.h"
#include "tests/host/host_world.h"
#include "tests/host/scenario.h"
#include "tests/host/screenshot.h"
#include "tests/host/transcript.h"

namespace host {
namespace {

constexpr UINT kActionDelayMs = 30;

struct Named {
  const char* name;
  int id;
};

#define VLM_CONTROL(name) \
  { #name, IDC_##name }
const Named kSettingsControls[] = {
    VLM_CONTROL(GroupBox1),
    VLM_CONTROL(GroupBox2),
    VLM_CONTROL(GroupBox3),
    VLM_CONTROL(GroupBox4),
    VLM_CONTROL(LabeledEdit1),
    VLM_CONTROL(LabeledEdit2),
    VLM_CONTROL(LabeledEdit3),
    VLM_CONTROL(LabeledEdit4),
    VLM_CONTROL(LabeledEdit5),
    VLM_CONTROL(CheckBox1),
    VLM_CONTROL(CheckBox2),
    VLM_CONTROL(CheckBox3),
    VLM_CONTROL(CheckBox4),
    VLM_CONTROL(CheckBox5),
    VLM_CONTROL(CheckBox6),
    VLM_CONTROL(CheckBox7),
    VLM_CONTROL(CheckBox8),
    VLM_CONTROL(CheckBox9),
    VLM_CONTROL(CheckBox10),
    VLM_CONTROL(CheckBox11),
    VLM_CONTROL(CheckBox12),
    VLM_CONTROL(RadioGroup1),
    VLM_CONTROL(ButtonedEdit1),
    VLM_CONTROL(TrackBar1),
    VLM_CONTROL(Label1),
    VLM_CONTROL(Label2),
    VLM_CONTROL(Label3),
    VLM_CONTROL(Label4),
    VLM_CONTROL(Label5),
    VLM_CONTROL(Button1),
    VLM_CONTROL(Button2),
    {"LabeledEdit1.EditLabel", IDC_LabeledEdit1Label},
    {"LabeledEdit2.EditLabel", IDC_LabeledEdit2Label},
    {"LabeledEdit3.EditLabel", IDC_LabeledEdit3Label},
    {"LabeledEdit4.EditLabel", IDC_LabeledEdit4Label},
    {"LabeledEdit5.EditLabel", IDC_LabeledEdit5Label},
    {"RadioGroup1.LHA", IDC_RadioGroup1Lha},
    {"RadioGroup1.ZIP", IDC_RadioGroup1Zip},
};
#undef VLM_CONTROL

const Named kImageControls[] = {
    {"Label2", IDC_ImageLabel2},
    {"Panel1", IDC_ImagePanel1},
    {"Image1", IDC_ImageImage1},
    {"Label1", IDC_ImageLabel1},
    {"RadioGroup1", IDC_ImageRadioGroup1},
    {"RadioGroup1.Jpg", IDC_ImageRadioGroup1Jpg},
    {"RadioGroup1.Bmp", IDC_ImageRadioGroup1Bmp},
    {"RadioGroup1.Gif", IDC_ImageRadioGroup1Gif},
    {"RadioGroup1.Png", IDC_ImageRadioGroup1Png},
    {"LabeledEdit1.EditLabel", IDC_ImageLabeledEdit1Label},
    {"LabeledEdit1", IDC_ImageLabeledEdit1},
    {"Button2", IDC_ImageButton2},
    {"Button1", IDC_ImageButton1},
};

struct DialogKind {
  const wchar_t* caption;
  const Named* controls;
  size_t count;
};

const DialogKind kDialogKinds[] = {
    {L"Velmoraの設定", kSettingsControls, std::size(kSettingsControls)},
    {L"添付画像確認", kImageControls, std::size(kImageControls)},
};

struct Action {
  std::string verb;
  std::string args;
};

std::deque<Action> gActions;
HWND gDialog = nullptr;
const DialogKind* gKind = nullptr;  // gDialog's
HHOOK gHook = nullptr;
// The one live action timer. Thread timers get fresh ids, so a tick from an earlier timer (say,
// one set just before the previous showing closed) is told apart and dropped.
UINT_PTR gTimer = 0;
// What the user picks in the file-open dialog: a full path, a path below the work folder, or
// "cancel".
std::deque<std::string> gFilePicks;
std::deque<HWND> gFileDialogs;

std::string FirstWord(const std::string& args, std::string* rest) {
  const size_t space = args.find(' ');
  *rest = space == std::string::npos ? "" : args.substr(space + 1);
  return args.substr(0, space);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string ClassOf(HWND window) {
  wchar_t cls[64] = L"";
  GetClassNameW(window, cls, 64);
  return Utf8(cls);
}

int IdOf(const std::string& name) {
  for (size_t i = 0; gKind && i < gKind->count; ++i)
    if (name == gKind->controls[i].name) return gKind->controls[i].id;
  return 0;
}

std::string NameOf(HWND control) {
  const int id = GetDlgCtrlID(control);
  for (size_t i = 0; gKind && i < gKind->count; ++i)
    if (gKind->controls[i].id == id) return gKind->controls[i].name;
  return "id" + std::to_string(id);
}

HWND Control(const std::string& name) {
  const int id = IdOf(name);
  return id ? GetDlgItem(gDialog, id) : nullptr;
}

// Which of the driven dialogs the window is, if any.
const DialogKind* WantedKind(HWND window) {
  wchar_t cls[16] = L"";
  GetClassNameW(window, cls, 16);
  // A message box carries its text in the static 0xFFFF; the driven dialogs have no such child.
  if (lstrcmpW(cls, L"#32770") != 0 || GetDlgItem(window, 0xFFFF) != nullptr) return nullptr;
  for (const DialogKind& kind : kDialogKinds)
    if (TextOf(window) == kind.caption) return &kind;
  return nullptr;
}

LONG ButtonType(HWND control) {
  return GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
}

std::string KindOf(HWND control) {
  const std::string cls = ClassOf(control);
  if (lstrcmpiA(cls.c_str(), "Button") == 0) {
    switch (ButtonType(control)) {
      case BS_GROUPBOX:
        return "groupbox";
      case BS_AUTOCHECKBOX:
      case BS_CHECKBOX:
        return "checkbox";
      case BS_AUTORADIOBUTTON:
      case BS_RADIOBUTTON:
        return "radio";
      default:
        return "button";
    }
  }
  if (lstrcmpiA(cls.c_str(), "Edit") == 0) return "edit";
  if (lstrcmpiA(cls.c_str(), "Static") == 0) return "label";
  if (cls == TRACKBAR_CLASSA) return "trackbar";
  return cls;
}

RECT RectIn(HWND window, HWND reference) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The control's parent on the form: the smallest group box around it, or the form. Every control is
// a child of the dialog window; the group boxes only frame them.
HWND LogicalParent(HWND control) {
  const RECT r = RectIn(control, gDialog);
  HWND best = nullptr;
  long bestArea = 0;
  for (HWND c = GetWindow(gDialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c == control || KindOf(c) != "groupbox") continue;
    const RECT g = RectIn(c, gDialog);
    const long area = (g.right - g.left) * (g.bottom - g.top);
    if (Contains(g, r) && (!best || area < bestArea)) best = c, bestArea = area;
  }
  return best;
}

HFONT ControlFont(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

std::string Flags(HWND control) {
  std::string flags;
  const HFONT font = ControlFont(control);  // a trackbar has none
  if (font && font != ControlFont(GetWindow(gDialog, GW_CHILD))) flags += " own-font";
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (style & WS_TABSTOP) flags += " tabstop";
  if (!IsWindowEnabled(control)) flags += " disabled";
  if (KindOf(control) == "checkbox" || KindOf(control) == "radio")
    if (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) flags += " checked";
  return flags;
}

// Whether an edit takes input through the input method; bound at run time, as the host does not
// otherwise need imm32.
std::string ImeState(HWND edit) {
  HMODULE imm = LoadLibraryW(L"imm32.dll");
  using GetContextFn = void*(WINAPI*)(HWND);
  using ReleaseContextFn = BOOL(WINAPI*)(HWND, void*);
  auto get =
      reinterpret_cast<GetContextFn>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmGetContext")));
  auto release = reinterpret_cast<ReleaseContextFn>(
      reinterpret_cast<void*>(GetProcAddress(imm, "ImmReleaseContext")));
  std::string state = "?";
  if (get && release) {
    void* context = get(edit);
    state = context ? "on" : "off";
    if (context) release(edit, context);
  }
  FreeLibrary(imm);
  return state;
}

// Buttons of common controls 6 (the themed ones) can tell their ideal size; the older ones cannot.
std::string ButtonGeneration(HWND button) {
  SIZE ideal{};
  return SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) ? " comctl6"
                                                                                     : " comctl5";
}

std::string Extra(HWND control) {
  const std::string kind = KindOf(control);
  if (kind == "trackbar") {
    return " range " + std::to_string(SendMessageW(control, TBM_GETRANGEMIN, 0, 0)) + ".." +
           std::to_string(SendMessageW(control, TBM_GETRANGEMAX, 0, 0)) + " thumb " +
           std::to_string(SendMessageW(control, TBM_GETTHUMBLENGTH, 0, 0)) + " position " +
           std::to_string(SendMessageW(control, TBM_GETPOS, 0, 0));
  }
  if (kind == "button" || kind == "checkbox" || kind == "radio" || kind == "groupbox")
    return ButtonGeneration(control);
  if (kind == "edit") {
    RECT client;
    GetClientRect(control, &client);
    return " client " + std::to_string(client.right) + "x" + std::to_string(client.bottom) +
           " ime " + ImeState(control);
  }
  return "";
}

void LogControl(HWND control) {
  HWND parent = LogicalParent(control);
  const RECT r = RectIn(control, parent ? parent : gDialog);
  char rect[64];
  std::snprintf(rect, sizeof rect, "%ld,%ld %ldx%ld", r.left, r.top, r.right - r.left,
                r.bottom - r.top);
  Log().Line("  " + NameOf(control) + " in " + (parent ? NameOf(parent) : "form") + " " +
             KindOf(control) + " " + Log().QuoteWide(TextOf(control)) + " at " + rect +
             Flags(control) + Extra(control));
}

// The dialog's frame, then every control in tab order (the dialog's child order).
void LogLayout() {
  RECT client, window;
  GetClientRect(gDialog, &client);
  GetWindowRect(gDialog, &window);
  const LONG style = GetWindowLongW(gDialog, GWL_STYLE);
  const int w = window.right - window.left, h = window.bottom - window.top;
  const bool centred = window.left == (GetSystemMetrics(SM_CXSCREEN) - w) / 2 &&
                       window.top == (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  auto has = [&](LONG bit) { return (style & bit) == bit ? "yes" : "no"; };
  // The controls' font; a control with another one says so in its line.
  LOGFONTW font{};
  GetObjectW(ControlFont(GetWindow(gDialog, GW_CHILD)), sizeof font, &font);
  Log().Line("layout " + Log().QuoteWide(TextOf(gDialog)) + " client " +
             std::to_string(client.right) + "x" + std::to_string(client.bottom) + " centred " +
             (centred ? "yes" : "no") + " caption " + has(WS_CAPTION) + " sysmenu " +
             has(WS_SYSMENU) + " minimize " + has(WS_MINIMIZEBOX) + " maximize " +
             has(WS_MAXIMIZEBOX) + " sizing " + has(WS_THICKFRAME));
  Log().Line("  controls' font " + Log().QuoteWide(font.lfFaceName) + " height " +
             std::to_string(font.lfHeight) + " charset " + std::to_string(font.lfCharSet));
  for (HWND c = GetWindow(gDialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) LogControl(c);
}

void LogRead(const std::string& name, HWND control) {
  std::string line = "dialog-read " + name + ":";
  const std::string kind = KindOf(control);
  if (name == "RadioGroup1") {
    std::string item = "none";
    const std::string prefix = name + ".";
    for (size_t i = 0; i < gKind->count; ++i) {
      const std::string itemName = gKind->controls[i].name;
      if (itemName.rfind(prefix, 0) == 0 &&
          IsDlgButtonChecked(gDialog, gKind->controls[i].id) == BST_CHECKED)
        item = itemName.substr(prefix.size());
    }
    line += " item " + item;
  } else if (kind == "checkbox" || kind == "radio") {
    line += std::string(" checked ") +
            (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0");
  } else if (kind == "trackbar") {
    line += " position " + std::to_string(SendMessageW(control, TBM_GETPOS, 0, 0));
  } else {
    line += " text " + Log().QuoteWide(TextOf(control));
  }
  line += std::string(" enabled ") + (IsWindowEnabled(control) ? "1" : "0");
  Log().Line(line);
}

// Clicks as the mouse would: the button itself toggles and tells the dialog.
void Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
}

// A picture is edited by a double-click on it.
void DoubleClick(HWND control) {
  SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

// Ctrl+V pressed in the control, taken off the queue here as the dialog's loop would.
void PasteKey(HWND control) {
  BYTE keys[256] = {};
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(control, WM_KEYDOWN, 'V', 1);
  Pump();
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
  SetKeyboardState(keys);
}

// An edit's browse button sits in its frame right of the client area: click there.
void ClickRightOfClient(HWND edit) {
  RECT client;
  GetClientRect(edit, &client);
  POINT p{client.right + 4, client.bottom / 2};
  ClientToScreen(edit, &p);
  const LPARAM at = MAKELPARAM(p.x, p.y);
  const LRESULT hit = SendMessageW(edit, WM_NCHITTEST, 0, at);
  SendMessageW(edit, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), at);
  SendMessageW(edit, WM_NCLBUTTONUP, static_cast<WPARAM>(hit), at);
}

void SetValue(const std::string& name, HWND control, const std::string& value) {
  const std::string kind = KindOf(control);
  if (name == "RadioGroup1") {
    HWND item = Control("RadioGroup1." + value);
    if (item && SendMessageW(item, BM_GETCHECK, 0, 0) != BST_CHECKED) Click(item);
  } else if (kind == "checkbox") {
    const bool want = value == "1";
    if ((SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) != want) Click(control);
  } else if (kind == "trackbar") {
    const int position = std::stoi(value);
    SendMessageW(control, TBM_SETPOS, TRUE, position);
    SendMessageW(gDialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(control));
    SendMessageW(gDialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(control));
  } else {
    SetWindowTextW(control, Wide(value).c_str());  // the edit tells the dialog with EN_CHANGE
  }
}

bool WriteBitmap(const std::wstring& path, HDC dc, int width, int height) {
  BITMAPINFOHEADER header = Bmp24Header(width, height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  if (!bitmap) return false;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  const bool saved = SaveBmp24(path, header, bits);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return saved;
}

void Screenshot(const std::string& file) {
  RedrawWindow(gDialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r;
  GetWindowRect(gDialog, &r);
  HDC dc = GetWindowDC(gDialog);
  const bool ok = WriteBitmap(WorkPath(file), dc, r.right - r.left, r.bottom - r.top);
  ReleaseDC(gDialog, dc);
  Log().Line("dialog-screenshot " + file + (ok ? "" : " failed"));
}

void Perform(const Action& a) {
  if (a.verb == "dialog-layout") return LogLayout();
  if (a.verb == "dialog-screenshot") return Screenshot(a.args);
  std::string value;
  const std::string name = FirstWord(a.args, &value);
  if (a.verb == "dialog-press" && name == "close") {
    Log().Line("dialog-press close");
    SendMessageW(gDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  HWND control = Control(name);
  if (!control) {
    Log().Line("error: " + a.verb + ": no control " + name);
    return;
  }
  if (a.verb == "dialog-read") return LogRead(name, control);
  if (!IsWindowEnabled(control)) {
    Log().Line(a.verb + " " + a.args + ": disabled, left alone");
    return;
  }
  Log().Line(a.verb + " " + a.args);
  if (a.verb == "dialog-press") {
    const std::string kind = KindOf(control);
    kind == "edit"    ? ClickRightOfClient(control)
    : kind == "label" ? DoubleClick(control)
                      : Click(control);
  }
  if (a.verb == "dialog-set") SetValue(name, control, value);
  if (a.verb == "dialog-paste") PasteKey(control);
}

void CALLBACK RunNextAction(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (timer != gTimer) return;
  gTimer = 0;
  if (!IsWindow(gDialog)) return;
  if (gActions.empty()) {
    // A scenario that forgets to close the dialog must not hang the run.
    Log().Line("dialog still open after its last action: closed by the host");
    SendMessageW(gDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  const Action action = gActions.front();
  gActions.pop_front();
  Perform(action);
  gTimer = SetTimer(nullptr, 0, kActionDelayMs, RunNextAction);
}

// The common file-open dialog: its file-name box is the combo cmb13.
bool IsFileDialog(HWND window) {
  wchar_t cls[16] = L"";
  GetClassNameW(window, cls, 16);
  return lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(window, cmb13) != nullptr;
}

std::wstring SelectedFilter(HWND fileDialog) {
  HWND types = GetDlgItem(fileDialog, cmb1);
  const LRESULT at = SendMessageW(types, CB_GETCURSEL, 0, 0);
  if (at < 0) return L"";
  std::wstring text(static_cast<size_t>(SendMessageW(types, CB_GETLBTEXTLEN, at, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(types, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

void CALLBACK AnswerFileDialogs(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  while (!gFileDialogs.empty()) {
    HWND dialog = gFileDialogs.front();
    gFileDialogs.pop_front();
    if (!IsWindow(dialog)) continue;
    const std::string pick = gFilePicks.empty() ? "cancel" : gFilePicks.front();
    if (!gFilePicks.empty()) gFilePicks.pop_front();
    Log().Line("file dialog " + Log().QuoteWide(TextOf(dialog)) + " type " +
               Log().QuoteWide(SelectedFilter(dialog)) + " -> " + pick);
    if (pick == "cancel") {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else {
      const std::wstring path = pick.find(':') != std::string::npos ? Wide(pick) : WorkPath(pick);
      SetDlgItemTextW(dialog, cmb13, path.c_str());
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  }
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (IsFileDialog(window)) {
      gFileDialogs.push_back(window);
      SetTimer(nullptr, 0, 200, AnswerFileDialogs);
    }
    if (window != gDialog) {
      if (const DialogKind* kind = WantedKind(window)) {
        gDialog = window;
        gKind = kind;
        Log().Line("dialog " + Log().QuoteWide(kind->caption) + " opens");
        gTimer = SetTimer(nullptr, 0, kActionDelayMs, RunNextAction);
      }
    }
  }
  if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wParam) == gDialog && gDialog) {
    KillTimer(nullptr, gTimer);
    gTimer = 0;
    gDialog = nullptr;
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

void WatchDialogs() {
  if (!gHook) gHook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

bool Queue(const std::string& verb, const std::string& args) {
  WatchDialogs();
  gActions.push_back({verb, args});
  return true;
}

bool Setup() {
  auto setup = World().exports.BKC_OnPlugInSetup;
  if (!setup) {
    Log().Line("error: plug-in not loaded or lacks BKC_OnPlugInSetup");
    return false;
  }
  WatchDialogs();
  gDialog = nullptr;
  const int result = setup(World().mainWindow);
  Log().Line("callback BKC_OnPlugInSetup -> " + std::to_string(result));
  KillTimer(nullptr, gTimer);
  gTimer = 0;
  gDialog = nullptr;
  if (!gActions.empty()) {
    Log().Line("unused dialog actions: " + std::to_string(gActions.size()));
    gActions.clear();
  }
  return true;
}

const VerbRegistration kSetup("setup", [](const std::string&, Script&) { return Setup(); });
const VerbRegistration kSet("dialog-set",
                            [](const std::string& a, Script&) { return Queue("dialog-set", a); });
const VerbRegistration kPress("dialog-press", [](const std::string& a, Script&) {
  return Queue("dialog-press", a);
});
const VerbRegistration kRead("dialog-read",
                             [](const std::string& a, Script&) { return Queue("dialog-read", a); });
const VerbRegistration kLayout("dialog-layout", [](const std::string& a, Script&) {
  return Queue("dialog-layout", a);
});
const VerbRegistration kPaste("dialog-paste", [](const std::string& a, Script&) {
  return Queue("dialog-paste", a);
});
const VerbRegistration kPick("dialog-pick-file", [](const std::string& a, Script&) {
  gFilePicks.push_back(a);
  return true;
});
const VerbRegistration kShot("dialog-screenshot", [](const std::string& a, Script&) {
  return Queue("dialog-screenshot", a);
});

}  // namespace
}  // namespace host
