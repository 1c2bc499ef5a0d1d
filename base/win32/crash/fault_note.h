#pragma once
// What the fault frames of one thread know about a hardware fault while the system looks for its
// handler. The innermost frame around the fault notes it when the search reaches it, and its
// report is written then; the user is asked only when the exception unwinds past that frame or
// reaches the unhandled-exception filter. The handler the search finds may yet resume the fault
// (EXCEPTION_CONTINUE_EXECUTION): then nothing went wrong, no box is shown and the report is
// withdrawn, when the call returns or the next exception's search reaches the frame. Only that
// frame, returning or unwound, forgets the note: a frame further out or another call finishing
// meanwhile cannot make the same fault look new.
#include <windows.h>

namespace vlm {

// One fault frame's record, on the stack of the call it guards, linked to the next frame out on
// the same thread.
struct TFaultNote {
  const char* Entry = nullptr;
  TFaultNote* Outer = nullptr;
  EXCEPTION_RECORD* Record = nullptr;  // the fault noted, valid until the search or unwind ends
  CONTEXT* Context = nullptr;
  bool Written = false;  // its report is written and the reporter held for it
};

// The frame starts guarding a call on this thread / stops when the call returns normally.
void EnterFaultNote(TFaultNote& note) noexcept;
void LeaveFaultNote(TFaultNote& note) noexcept;

// The search for a handler reaches the frame of `note`.
void NoteFaultOnSearch(TFaultNote& note, EXCEPTION_RECORD& record, CONTEXT& context) noexcept;
// The exception described by `record` unwinds past the frame of `note`.
void ReportFaultOnUnwind(TFaultNote& note, const EXCEPTION_RECORD& record) noexcept;

// This thread's innermost fault frame at or above `stackAddress` (the x86-64 frames find their
// note this way), or null.
TFaultNote* FaultNoteAbove(const void* stackAddress) noexcept;

// The unhandled-exception filter that reports a noted fault nobody handled, installed while
// crash reports are on; the filter found installed before is called after it. Stopped before
// the crash reports are.
void WatchUnhandledFaults() noexcept;
void StopWatchingUnhandledFaults() noexcept;

}  // namespace vlm
