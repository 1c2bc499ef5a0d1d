// A pasted picture whose copy does not fit this 32-bit process: reading it raises std::bad_alloc,
// and the clipboard must be closed again all the same, or every other program's thread is locked
// out of it. Prints what it saw; the exit code is the number of failed expectations.
#include <windows.h>

#include <cstdio>
#include <new>

#include "compose/win32/windows_bitmap.h"

namespace {

DWORD WINAPI TryOpenClipboard(void* opened) {
  *static_cast<BOOL*>(opened) = OpenClipboard(nullptr);
  if (*static_cast<BOOL*>(opened)) CloseClipboard();
  return 0;
}

// Whether a thread other than this one can open the clipboard.
bool FreeForOtherThreads() {
  BOOL opened = FALSE;
  HANDLE other = CreateThread(nullptr, 0, TryOpenClipboard, &opened, 0, nullptr);
  WaitForSingleObject(other, INFINITE);
  CloseHandle(other);
  return opened != FALSE;
}

}  // namespace

int main() {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               nullptr, nullptr);
  // One bit a pixel keeps the clipboard's own bitmap small (89 MB); its 24-bit copy (2 GB) is
  // within the picture size limit but cannot be allocated in a 32-bit process.
  OpenClipboard(owner);
  EmptyClipboard();
  SetClipboardData(CF_BITMAP, CreateBitmap(32767, 21845, 1, 1, nullptr));
  CloseClipboard();

  int failures = 0;
  bool raised = false;
  try {
    const auto picture = vlm::TakeClipboardPicture(owner);
    std::printf("picture read: %s\n", picture ? "yes" : "no");
  } catch (const std::bad_alloc&) {
    raised = true;
  }
  std::printf("std::bad_alloc raised: %s\n", raised ? "yes" : "no");
  if (!raised) ++failures;
  const bool free = FreeForOtherThreads();
  std::printf("clipboard free for other threads: %s\n", free ? "yes" : "no");
  if (!free) ++failures;
  DestroyWindow(owner);
  return failures;
}
