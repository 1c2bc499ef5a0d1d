#pragma once
// Geometry of the settings dialog: every control at its pixel rectangle, whatever the font.
#include <windows.h>

namespace vlm {

// Sizes the dialog to its client area, centres it on the screen and places every control.
// Positions are client pixels of the control's parent on the form: the dialog, a group box or the
// radio group. All windows are children of the dialog itself, so a control inside a group box
// sits at the group box's position plus its own.
void LayOutSettingsDialog(HWND dialog);

// Gives `edit` a small browse button at its right end, drawn in the edit's frame; a click on it
// reaches the edit's parent as WM_COMMAND BN_CLICKED from `buttonId`.
void AddRightButton(HWND edit, int buttonId);

}  // namespace vlm
