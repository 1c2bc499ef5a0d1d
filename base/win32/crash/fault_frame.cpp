#include "base/win32/crash/fault_frame.h"

#include <windows.h>

#include "base/win32/crash/crash_report.h"

#if defined(_WIN64)
#include <excpt.h>

// The x86-64 build (made for the Wine tests on machines that run no 32-bit code) has no FS:[0]
// chain: exception handlers are found through the unwind tables. The guarded call gets a scope
// whose filter records the fault at the same moment the 32-bit frame's handler does, when the
// search reaches it, and lets the search go on outward.
namespace vlm {
namespace {

thread_local const char* tGuardedEntry = nullptr;

extern "C" LONG VelmoraFaultFilter(EXCEPTION_POINTERS* pointers, void*) {
  RecordUnhandledFault(tGuardedEntry, *pointers);
  return EXCEPTION_CONTINUE_SEARCH;
}

// Neither noexcept nor holding objects with destructors, so the compiler gives it no handler of
// its own beside the scope; one scope per file (its labels are fixed), hence never inlined.
__attribute__((noinline)) void CallInScope(void (*call)(void*), void* argument) {
  __try1(VelmoraFaultFilter) call(argument);
  __except1
}

}  // namespace

void CallInsideFaultFrame(const char* entry, void (*call)(void*), void* argument) noexcept {
  const char* outer = tGuardedEntry;
  tGuardedEntry = entry;
  CallInScope(call, argument);
  tGuardedEntry = outer;
  ForgetRecordedFault();
}

}  // namespace vlm
#else
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
#endif
