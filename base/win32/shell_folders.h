#pragma once
// The user's folders as the shell names them.
#include <windows.h>

#include <string>

namespace vlm {

// The user's desktop directory without a trailing separator; empty when the shell has none.
[[nodiscard]] std::wstring DesktopFolder(HWND owner);

}  // namespace vlm
