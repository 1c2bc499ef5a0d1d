#include "base/win32/fault_frame.h"

#include <windows.h>

#include "base/win32/crash_report.h"

namespace vlm {
namespace {

// The layout the system expects of a registration record, followed by our own field. The
// record lives on the stack of the call it guards, as the system requires.
struct TFaultFrame {
  TFaultFrame* Next;
  void* Handler;
  const char* Entry;
};

constexpr DWORD kUnwinding = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND

extern "C" EXCEPTION_DISPOSITION __cdecl VelmoraFaultFrameHandler(EXCEPTION_RECORD* record,
                                                                  void* frame, CONTEXT* context,
                                                                  void*) {
  if (record->ExceptionFlags & kUnwinding) {
    // An outer handler took the exception and unwinds through us: the next fault is a new one.
    ForgetRecordedFault();
  } else {
    EXCEPTION_POINTERS pointers{record, context};
    RecordUnhandledFault(static_cast<TFaultFrame*>(frame)->Entry, pointers);
  }
  return ExceptionContinueSearch;
}

TFaultFrame* ChainHead() {
  TFaultFrame* head;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

void SetChainHead(TFaultFrame* head) {
  asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

}  // namespace

// Not inlined: the record must sit in this function's own stack frame for the whole call.
__attribute__((noinline)) void CallInsideFaultFrame(const char* entry, void (*call)(void*),
                                                    void* argument) noexcept {
  TFaultFrame frame{ChainHead(), reinterpret_cast<void*>(&VelmoraFaultFrameHandler), entry};
  SetChainHead(&frame);
  call(argument);
  SetChainHead(frame.Next);
  ForgetRecordedFault();
}

}  // namespace vlm
