#pragma once
// The box that tells the user about a crash report. It is shown while the host is in the middle
// of something (an exception's unwind, a call of its own), so an exception the host raises and
// catches while the box is up may unwind through the box's message loop. The box is then ended
// and destroyed, which gives its owner back its input, rather than left on screen with nothing
// to drive it.
#include <windows.h>

namespace vlm {

// MessageBoxW with the crash box's caption, guarded as above.
int ShowCrashBoxWindow(HWND owner, const wchar_t* text, UINT flags) noexcept;

}  // namespace vlm
