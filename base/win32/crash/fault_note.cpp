#include "base/win32/crash/fault_note.h"

#include "base/win32/crash/crash_report.h"
#include "base/win32/crash/crash_reporter.h"

namespace vlm {
namespace {

thread_local TFaultNote* tInnermost = nullptr;

// A handler that unwinds without naming the exception (RtlUnwind with no record, as the 32-bit
// Microsoft C runtime's __except does) gives the frames a record of its own with this code.
constexpr DWORD kUnwindWithoutRecord = 0xC0000027;  // STATUS_UNWIND

// During the unwind the system may hand a copy of the record, so the fault is known by what it
// was and where it was raised. An unwind that names no exception is the one the handler that
// took the noted fault started: any exception after a resumed fault passes the frame's search
// first, which forgets the resumed one.
bool SameFault(const EXCEPTION_RECORD& noted, const EXCEPTION_RECORD& record) {
  if (record.ExceptionCode == kUnwindWithoutRecord) return true;
  return noted.ExceptionCode == record.ExceptionCode &&
         noted.ExceptionAddress == record.ExceptionAddress;
}

bool NotedBelow(const TFaultNote& note, const EXCEPTION_RECORD& record) {
  for (const TFaultNote* inner = tInnermost; inner && inner != &note; inner = inner->Outer)
    if (inner->Record == &record) return true;
  return false;
}

void Forget(TFaultNote& note) {
  note.Record = nullptr;
  note.Context = nullptr;
  note.Written = false;
}

// Taken from the note before asking: whatever happens while the user reads the box, this fault
// is not asked about again.
void AskAndForget(TFaultNote& note) {
  const bool written = note.Written;
  Forget(note);
  if (written) AskAboutFaultReport();
}

LONG WINAPI ReportUnhandledFault(EXCEPTION_POINTERS* pointers) {
  const TCrashReporter* r = CrashReporter;
  const LPTOP_LEVEL_EXCEPTION_FILTER previous = r ? r->PreviousFilter : nullptr;
  for (TFaultNote* note = tInnermost; note; note = note->Outer) {
    if (note->Record && SameFault(*note->Record, *pointers->ExceptionRecord)) {
      AskAndForget(*note);
      break;
    }
  }
  return previous ? previous(pointers) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void EnterFaultNote(TFaultNote& note) noexcept {
  note.Outer = tInnermost;
  tInnermost = &note;
}

void LeaveFaultNote(TFaultNote& note) noexcept {
  // A fault noted and then resumed by a handler further out: the call went on, nothing to report.
  if (note.Written) WithdrawFaultReport();
  Forget(note);
  tInnermost = note.Outer;
}

void NoteFaultOnSearch(TFaultNote& note, EXCEPTION_RECORD& record, CONTEXT& context) noexcept {
  if (note.Record == &record || NotedBelow(note, record)) return;
  // Another exception searched for after the noted fault: a handler resumed that fault.
  if (note.Written) WithdrawFaultReport();
  Forget(note);
  if (!IsReportableFault(record.ExceptionCode)) return;
  note.Record = &record;
  note.Context = &context;
  EXCEPTION_POINTERS pointers{&record, &context};
  note.Written = WriteFaultReport(note.Entry, pointers);
}

void ReportFaultOnUnwind(TFaultNote& note, const EXCEPTION_RECORD& record) noexcept {
  // The frame is gone: calls made while the user reads the box are not inside it.
  tInnermost = note.Outer;
  if (note.Record && SameFault(*note.Record, record)) {
    AskAndForget(note);
  } else {
    if (note.Written) WithdrawFaultReport();
    Forget(note);
  }
}

TFaultNote* FaultNoteAbove(const void* stackAddress) noexcept {
  for (TFaultNote* note = tInnermost; note; note = note->Outer)
    if (static_cast<const void*>(note) > stackAddress) return note;
  return nullptr;
}

void WatchUnhandledFaults() noexcept {
  TCrashReporter* r = CrashReporter;
  if (!r || !r->Enabled || r->FilterInstalled) return;
  r->PreviousFilter = SetUnhandledExceptionFilter(ReportUnhandledFault);
  r->FilterInstalled = true;
}

void StopWatchingUnhandledFaults() noexcept {
  TCrashReporter* r = CrashReporter;
  if (!r || !r->FilterInstalled) return;
  // Put back only when nobody installed a filter after ours: theirs would call ours.
  const LPTOP_LEVEL_EXCEPTION_FILTER current = SetUnhandledExceptionFilter(r->PreviousFilter);
  if (current != ReportUnhandledFault) SetUnhandledExceptionFilter(current);
  r->FilterInstalled = false;
}

}  // namespace vlm
