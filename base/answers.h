#pragma once
// Questions to the user as portable code asks them: an asker shows (text, caption, box flags) and
// returns the standard result. The numbers are the system's own; base/win32/answers_check.cpp
// holds them against IDYES, MB_YESNO and the rest.
#include <functional>
#include <string>

namespace vlm {

// Standard message-box results.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Message-box flags: the buttons, the icon, the default button, and topmost.
inline constexpr unsigned kBoxOk = 0x0;
inline constexpr unsigned kBoxOkCancel = 0x1;
inline constexpr unsigned kBoxYesNoCancel = 0x3;
inline constexpr unsigned kBoxYesNo = 0x4;
inline constexpr unsigned kBoxIconStop = 0x10;
inline constexpr unsigned kBoxIconWarning = 0x30;
inline constexpr unsigned kBoxSecondDefault = 0x100;
inline constexpr unsigned kBoxTopmost = 0x40000;

// Asks the user a question; one of the standard results.
using TAsker =
    std::function<int(const std::wstring& text, const std::wstring& caption, unsigned flags)>;

}  // namespace vlm
