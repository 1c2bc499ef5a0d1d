#include "plugin/win32/settings_dialog_layout.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "base/win32/dialog_support.h"
#include "base/win32/scoped.h"
#include "resources/resource_ids.h"

namespace vlm {
namespace {

constexpr int kClientWidth = 505;
constexpr int kClientHeight = 466;
constexpr int kLabelSpacing = 3;  // between a labelled edit and its label

// A control's rectangle in client pixels of `parent` (0: the dialog). A width of 0 marks a label
// that takes the size of its text.
struct Place {
  int id;
  int parent;
  int x, y, w, h;
};

// Parents come before their children.
constexpr Place kPlaces[] = {
    {IDC_GroupBox1, 0, 9, 8, 257, 241},
    {IDC_LabeledEdit1, IDC_GroupBox1, 8, 32, 209, 20},
    {IDC_LabeledEdit2, IDC_GroupBox1, 8, 72, 209, 20},
    {IDC_LabeledEdit3, IDC_GroupBox1, 8, 112, 209, 20},
    {IDC_CheckBox1, IDC_GroupBox1, 8, 138, 193, 17},
    {IDC_CheckBox4, IDC_GroupBox1, 8, 162, 241, 17},
    {IDC_CheckBox12, IDC_GroupBox1, 8, 185, 217, 17},
    {IDC_CheckBox10, IDC_GroupBox1, 8, 209, 242, 17},
    {IDC_GroupBox2, 0, 272, 8, 225, 241},
    {IDC_CheckBox2, IDC_GroupBox2, 8, 16, 177, 25},
    {IDC_CheckBox5, IDC_GroupBox2, 8, 40, 209, 25},
    {IDC_CheckBox3, IDC_GroupBox2, 8, 64, 201, 25},
    {IDC_LabeledEdit5, IDC_GroupBox2, 48, 95, 169, 20},
    {IDC_CheckBox6, IDC_GroupBox2, 8, 119, 201, 25},
    {IDC_LabeledEdit4, IDC_GroupBox2, 25, 142, 25, 20},
    {IDC_RadioGroup1, IDC_GroupBox2, 8, 168, 209, 41},
    {IDC_CheckBox7, IDC_GroupBox2, 8, 215, 201, 17},
    {IDC_GroupBox3, 0, 8, 255, 489, 90},
    {IDC_Label2, IDC_GroupBox3, 9, 16, 0, 0},
    {IDC_ButtonedEdit1, IDC_GroupBox3, 9, 34, 264, 20},
    {IDC_Label3, IDC_GroupBox3, 285, 40, 0, 0},
    {IDC_Label4, IDC_GroupBox3, 323, 23, 0, 0},
    {IDC_Label5, IDC_GroupBox3, 461, 23, 0, 0},
    {IDC_TrackBar1, IDC_GroupBox3, 323, 33, 150, 30},
    {IDC_CheckBox11, IDC_GroupBox3, 16, 60, 457, 17},
    {IDC_GroupBox4, 0, 8, 351, 489, 74},
    {IDC_CheckBox8, IDC_GroupBox4, 16, 20, 225, 17},
    {IDC_CheckBox9, IDC_GroupBox4, 16, 43, 257, 17},
    {IDC_Button2, 0, 348, 431, 77, 25},
    {IDC_Button1, 0, 432, 431, 65, 25},
    {IDC_Label1, 0, 8, 440, 0, 0},
};

enum class LabelSide { kAbove, kLeft, kRight };

struct EditLabel {
  int edit;
  int label;
  LabelSide side;
};

constexpr EditLabel kEditLabels[] = {
    {IDC_LabeledEdit1, IDC_LabeledEdit1Label, LabelSide::kAbove},
    {IDC_LabeledEdit2, IDC_LabeledEdit2Label, LabelSide::kAbove},
    {IDC_LabeledEdit3, IDC_LabeledEdit3Label, LabelSide::kAbove},
    {IDC_LabeledEdit4, IDC_LabeledEdit4Label, LabelSide::kRight},
    {IDC_LabeledEdit5, IDC_LabeledEdit5Label, LabelSide::kLeft},
};

void PlaceControls(HWND dialog) {
  for (const Place& p : kPlaces) {
    HWND control = GetDlgItem(dialog, p.id);
    POINT origin{0, 0};
    if (p.parent) {
      const RECT parent = RectInDialog(dialog, GetDlgItem(dialog, p.parent));
      origin = {parent.left, parent.top};
    }
    SIZE size{p.w, p.h};
    if (p.w == 0) size = TextSize(control);
    MoveControl(control, origin.x + p.x, origin.y + p.y, size.cx, size.cy);
  }
}

void PlaceEditLabels(HWND dialog) {
  for (const EditLabel& e : kEditLabels) {
    HWND label = GetDlgItem(dialog, e.label);
    const RECT edit = RectInDialog(dialog, GetDlgItem(dialog, e.edit));
    const SIZE size = TextSize(label);
    const int middle = edit.top + (edit.bottom - edit.top - size.cy) / 2;
    POINT at{};
    switch (e.side) {
      case LabelSide::kAbove:
        at = {edit.left, edit.top - size.cy - kLabelSpacing};
        break;
      case LabelSide::kLeft:
        at = {edit.left - size.cx - kLabelSpacing, middle};
        break;
      case LabelSide::kRight:
        at = {edit.right + kLabelSpacing, middle};
        break;
    }
    MoveControl(label, at.x, at.y, size.cx, size.cy);
  }
}

// The browse button lives in the edit's frame, right of its client area: the text can never run
// under it, and a click on it reaches the dialog as the button id's BN_CLICKED.
constexpr int kRightButtonWidth = 18;

// The button's rectangle in window coordinates of the edit (origin at its top-left corner).
RECT RightButtonRect(HWND edit) {
  RECT window, client;
  GetWindowRect(edit, &window);
  GetClientRect(edit, &client);
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  return {client.right, client.top, client.right + kRightButtonWidth, client.bottom};
}

void PaintRightButton(HWND edit) {
  RECT r = RightButtonRect(edit);
  const auto window = win::TScopedWindowDC::WholeWindow(edit);
  const HDC dc = window.get();
  DrawFrameControl(dc, &r, DFC_BUTTON,
                   DFCS_BUTTONPUSH | (IsWindowEnabled(edit) ? 0 : DFCS_INACTIVE));
  win::TScopedSelection font(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(edit) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextW(dc, L"...", 3, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

bool OnRightButton(HWND edit, LPARAM screenPoint) {
  RECT window;
  GetWindowRect(edit, &window);
  const POINT p{GET_X_LPARAM(screenPoint) - window.left, GET_Y_LPARAM(screenPoint) - window.top};
  const RECT r = RightButtonRect(edit);
  return PtInRect(&r, p) != FALSE;
}

LRESULT CALLBACK RightButtonProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR buttonId, DWORD_PTR) {
  switch (message) {
    case WM_NCCALCSIZE: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                            : *reinterpret_cast<RECT*>(lParam);
      client.right -= kRightButtonWidth;
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      PaintRightButton(edit);
      return result;
    }
    case WM_ENABLE: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      PaintRightButton(edit);
      return result;
    }
    case WM_NCHITTEST:
      if (OnRightButton(edit, lParam)) return HTBORDER;
      break;
    case WM_NCLBUTTONDOWN:
      if (wParam == HTBORDER && OnRightButton(edit, lParam)) {
        SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(edit));
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, RightButtonProc, buttonId);
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void LayOutSettingsDialog(HWND dialog) {
  SizeAndCentre(dialog, kClientWidth, kClientHeight);
  PlaceControls(dialog);
  PlaceEditLabels(dialog);
  const int radioItems[] = {IDC_RadioGroup1Lha, IDC_RadioGroup1Zip};
  PlaceRadioItems(dialog, IDC_RadioGroup1, radioItems, 2, 2);
}

void AddRightButton(HWND edit, int buttonId) {
  SetWindowSubclass(edit, RightButtonProc, static_cast<UINT_PTR>(buttonId), 0);
  SetWindowPos(edit, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vlm
