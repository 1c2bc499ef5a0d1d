#include "tests/host/host_world.h"

#include <commctrl.h>

#include "tests/host/transcript.h"

namespace host {
namespace {

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterFrameClass(const wchar_t* name) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  RegisterClassW(&wc);
}

// The controls show Japanese text in the dialog font's face, as the real host's panes do.
void UseGuiFont(HWND control) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               TRUE);
}

// Becky!'s editor writes in a fixed-pitch face with a tab every eight columns, so the listing
// a drop writes ("name in archive<TAB>(sizes)") lines up there; a proportional face with the edit
// control's default stops can put the stop right after the name.
void UseEditorFont(HWND editor, HFONT& font) {
  if (font == nullptr)
    font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, L"ＭＳ ゴシック");
  SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // Tab stops are in dialog units, a quarter of the system font's average width each.
  HDC dc = GetDC(editor);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(editor, dc);
  const int dialogUnit = LOWORD(GetDialogBaseUnits());
  int stop = MulDiv(8 * metrics.tmAveCharWidth, 4, dialogUnit > 0 ? dialogUnit : 8);
  SendMessageW(editor, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
}

HWND CreateStatusBar(HWND parent) {
  return CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

HostWorld& World() {
  static HostWorld world;
  return world;
}

void HostWorld::CreateMainWindow() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterFrameClass(L"Becky2MainFrame");
  RegisterFrameClass(L"becky2composeframe");
  mainWindow =
      CreateWindowExW(0, L"Becky2MainFrame", L"Becky! (stand-in)", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      0, 0, 640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  // A mail list and a preview pane, so drops can land on a descendant of the main window.
  UseGuiFont(CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 320, 400,
                             mainWindow, reinterpret_cast<HMENU>(101), GetModuleHandleW(nullptr),
                             nullptr));
  UseGuiFont(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, 320,
                             0, 300, 400, mainWindow, reinterpret_cast<HMENU>(102),
                             GetModuleHandleW(nullptr), nullptr));
  mainStatus = CreateStatusBar(mainWindow);
}

HWND HostWorld::OpenCompose(const std::string& kind) {
  ComposeWindow compose;
  compose.name = "compose" + std::to_string(composeWindows.size() + 1);
  compose.window = CreateWindowExW(0, L"becky2composeframe", Wide(compose.name).c_str(),
                                   WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 600, 420, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
  // Header fields and a body editor inside, as drops land on these children.
  UseGuiFont(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 580, 24,
                             compose.window, reinterpret_cast<HMENU>(201),
                             GetModuleHandleW(nullptr), nullptr));
  UseEditorFont(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE,
                                0, 30, 580, 300, compose.window, reinterpret_cast<HMENU>(202),
                                GetModuleHandleW(nullptr), nullptr),
                editorFont);
  // The attachment pane: what the host has attached, by file name.
  UseGuiFont(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY, 0,
                             334, 580, 24, compose.window, reinterpret_cast<HMENU>(203),
                             GetModuleHandleW(nullptr), nullptr));
  compose.status = CreateStatusBar(compose.window);
  composeWindows.push_back(compose);
  Log().Line("host opens " + compose.name + " (" + kind + ")");
  if (exports.BKC_OnOpenCompose) {
    const int result = exports.BKC_OnOpenCompose(compose.window, kind == "reply" ? 1 : 0);
    Log().Line("callback BKC_OnOpenCompose(" + compose.name + ") -> " + std::to_string(result));
  }
  return compose.window;
}

void HostWorld::ShowContents(const ComposeWindow& compose) {
  std::wstring headers;
  for (const auto& [name, value] : compose.headers)
    headers += (headers.empty() ? L"" : L"  ") + Wide(name) + L": " + FromAnsi(value.c_str());
  SetDlgItemTextW(compose.window, 201, headers.c_str());
  SetDlgItemTextW(compose.window, 202, FromAnsi(compose.body.c_str()).c_str());
  std::wstring attached;
  for (const auto& path : compose.attachments) {
    const std::wstring wide = FromAnsi(path.c_str());
    attached += (attached.empty() ? L"添付: " : L", ") + wide.substr(wide.find_last_of(L"\\") + 1);
  }
  SetDlgItemTextW(compose.window, 203, attached.c_str());
}

ComposeWindow* HostWorld::FindCompose(HWND window) {
  for (auto& c : composeWindows)
    if (c.window == window) return &c;
  return nullptr;
}

ComposeWindow* HostWorld::FindCompose(const std::string& name) {
  for (auto& c : composeWindows)
    if (c.name == name) return &c;
  return nullptr;
}

std::string HostWorld::WindowName(HWND window) const {
  if (!window) return "0";
  if (window == mainWindow) return "main";
  for (const auto& c : composeWindows)
    if (c.window == window) return c.name;
  wchar_t cls[128] = L"";
  GetClassNameW(window, cls, 128);
  return "window(" + Utf8(cls) + ")";
}

HWND HostWorld::WindowByName(const std::string& name) const {
  if (name == "main") return mainWindow;
  for (const auto& c : composeWindows)
    if (c.name == name) return c.window;
  return nullptr;
}

const char* HostWorld::Keep(std::string text) {
  return KeepMutable(std::move(text));
}

char* HostWorld::KeepMutable(std::string text) {
  keepAlive.push_back(std::move(text));
  return keepAlive.back().data();
}

}  // namespace host
