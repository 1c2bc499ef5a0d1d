#include "base/win32/crash/crash_box.h"

#include "base/win32/crash/seh_chain.h"

namespace vlm {
namespace {

constexpr wchar_t kCaption[] = L"Velmoraエラー";
constexpr DWORD kUnwinding = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND

// A dialog window of this thread with the crash box's caption.
BOOL CALLBACK EndIfCrashBox(HWND window, LPARAM) {
  wchar_t name[16] = L"";
  wchar_t caption[32] = L"";
  GetClassNameW(window, name, 16);
  GetWindowTextW(window, caption, 32);
  if (lstrcmpW(name, L"#32770") != 0 || lstrcmpW(caption, kCaption) != 0) return TRUE;
  EndDialog(window, IDCANCEL);  // gives the owner its input back, as the box's own loop would
  DestroyWindow(window);
  return FALSE;
}

// The newest crash box of this thread (windows are listed from the top down): the one whose
// loop is being unwound.
void EndOrphanedBox() {
  EnumThreadWindows(GetCurrentThreadId(), EndIfCrashBox, 0);
}

extern "C" __attribute__((used))
EXCEPTION_DISPOSITION __cdecl VelmoraCrashBoxHandler(EXCEPTION_RECORD* record, void*, CONTEXT*,
                                                     void*) {
  if (record->ExceptionFlags & kUnwinding) EndOrphanedBox();
  return ExceptionContinueSearch;
}

#if defined(_WIN64)
// The handler is called only when an exception unwinds past this function. Not noexcept and
// holding no objects with destructors, so the compiler gives it no handler of its own; the call
// is not the last instruction, so the frame stays for the whole call.
__attribute__((noinline)) int ShowGuarded(HWND owner, const wchar_t* text, UINT flags) {
  asm volatile(".seh_handler VelmoraCrashBoxHandler, @unwind");
  const int answer = MessageBoxW(owner, text, kCaption, flags);
  asm volatile("nop");
  return answer;
}
#else
// Not inlined: the record must sit in this function's own stack frame for the whole call.
__attribute__((noinline)) int ShowGuarded(HWND owner, const wchar_t* text, UINT flags) {
  TSehRecord record{SehChainHead(), reinterpret_cast<void*>(&VelmoraCrashBoxHandler)};
  SetSehChainHead(&record);
  const int answer = MessageBoxW(owner, text, kCaption, flags);
  SetSehChainHead(record.Next);
  return answer;
}
#endif

}  // namespace

int ShowCrashBoxWindow(HWND owner, const wchar_t* text, UINT flags) noexcept {
  return ShowGuarded(owner, text, flags);
}

}  // namespace vlm
