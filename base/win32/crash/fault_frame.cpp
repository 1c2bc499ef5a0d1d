#include "base/win32/crash/fault_frame.h"

#include <windows.h>

#include "base/win32/crash/fault_note.h"
#include "base/win32/crash/seh_chain.h"

#if defined(_WIN64)
// The x86-64 build (made for the Wine tests on machines that run no 32-bit code) has no FS:[0]
// chain: exception handlers are found through the unwind tables. The guarded call runs in a
// function whose own handler the system calls both when it searches for a handler and when an
// exception unwinds past it, as it calls the 32-bit frame's handler.
namespace vlm {
namespace {

constexpr DWORD kUnwinding = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND

extern "C" __attribute__((used)) EXCEPTION_DISPOSITION VelmoraFaultHandler(EXCEPTION_RECORD* record,
                                                                           void* frame,
                                                                           CONTEXT* context,
                                                                           void*) {
  // The call's note sits in the caller's frame, just above this function's own.
  if (TFaultNote* note = FaultNoteAbove(frame)) {
    if (record->ExceptionFlags & kUnwinding)
      ReportFaultOnUnwind(*note, *record);
    else
      NoteFaultOnSearch(*note, *record, *context);
  }
  return ExceptionContinueSearch;
}

// Neither noexcept nor holding objects with destructors, so the compiler gives it no handler of
// its own; the call is not the last instruction, so the frame stays for the whole call.
__attribute__((noinline)) void CallWithHandler(void (*call)(void*), void* argument) {
  asm volatile(".seh_handler VelmoraFaultHandler, @except, @unwind");
  call(argument);
  asm volatile("nop");
}

}  // namespace

__attribute__((noinline)) void CallInsideFaultFrame(const char* entry, void (*call)(void*),
                                                    void* argument) noexcept {
  TFaultNote note;
  note.Entry = entry;
  EnterFaultNote(note);
  CallWithHandler(call, argument);
  LeaveFaultNote(note);
}

}  // namespace vlm
#else
namespace vlm {
namespace {

// A registration record followed by our own field. The record lives on the stack of the call it
// guards, as the system requires.
struct TFaultFrame {
  TSehRecord Record;
  TFaultNote Note;
};

constexpr DWORD kUnwinding = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND

extern "C" EXCEPTION_DISPOSITION __cdecl VelmoraFaultFrameHandler(EXCEPTION_RECORD* record,
                                                                  void* frame, CONTEXT* context,
                                                                  void*) {
  TFaultNote& note = static_cast<TFaultFrame*>(frame)->Note;
  if (record->ExceptionFlags & kUnwinding)
    ReportFaultOnUnwind(note, *record);
  else
    NoteFaultOnSearch(note, *record, *context);
  return ExceptionContinueSearch;
}

}  // namespace

// Not inlined: the record must sit in this function's own stack frame for the whole call.
__attribute__((noinline)) void CallInsideFaultFrame(const char* entry, void (*call)(void*),
                                                    void* argument) noexcept {
  TFaultFrame frame{{SehChainHead(), reinterpret_cast<void*>(&VelmoraFaultFrameHandler)}, {}};
  frame.Note.Entry = entry;
  EnterFaultNote(frame.Note);
  SetSehChainHead(&frame.Record);
  call(argument);
  SetSehChainHead(frame.Record.Next);
  LeaveFaultNote(frame.Note);
}

}  // namespace vlm
#endif
