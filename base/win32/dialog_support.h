#pragma once
// What the plug-in's pixel-exact dialogs share: the common-controls-6 activation context, the
// forms' Shift-JIS font, and placing windows at client pixels whatever the font's dialog units.
#include <windows.h>

#include <string>

#include "base/win32/scoped.h"

namespace vlm {

// The module's manifest (common controls 6) in effect while a dialog lives, so its controls
// are themed even though the host itself may not ask for them.
class TThemedScope {
 public:
  TThemedScope();
  ~TThemedScope();
  TThemedScope(const TThemedScope&) = delete;
  TThemedScope& operator=(const TThemedScope&) = delete;

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

// Gives the dialog and every child the forms' font (ＭＳ Ｐゴシック, 9 points, Shift-JIS). The
// template names the face, but the dialog manager may not keep its character set; the forms'
// texts need Shift-JIS glyphs whatever face stands in for it. `font` keeps it alive.
void ApplyFormFont(HWND dialog, win::TScopedGdiObject& font);

std::wstring WindowText(HWND window);

// The text's extent in the control's font, as an auto-sized label measures itself.
SIZE TextSize(HWND control);

// The control's rectangle in client coordinates of `dialog`.
RECT RectInDialog(HWND dialog, HWND control);

void MoveControl(HWND control, int x, int y, int w, int h);

// Sizes the dialog to the given client area and centres it on the screen.
void SizeAndCentre(HWND dialog, int clientWidth, int clientHeight);

// A radio group is a group box with its items as the dialog's children: they share the box's
// width in `columns` columns below its caption.
void PlaceRadioItems(HWND dialog, int groupId, const int* items, int count, int columns);

}  // namespace vlm
