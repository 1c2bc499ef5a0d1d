#include "tests/host/fault_catcher.h"

namespace host {
namespace {

thread_local DWORD tResumedCode = 0;
thread_local bool tResumed = false;

// An access to reserved, uncommitted memory: the page is committed, so the access can be retried.
bool CommitFaultingPage(const EXCEPTION_RECORD& record) {
  if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record.NumberParameters < 2)
    return false;
  void* address = reinterpret_cast<void*>(record.ExceptionInformation[1]);
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(address, &info, sizeof info) || info.State != MEM_RESERVE) return false;
  return VirtualAlloc(info.BaseAddress, 4096, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

extern "C" EXCEPTION_DISPOSITION HostResumeHandler(EXCEPTION_RECORD* record, void*, CONTEXT*,
                                                   void*) {
  if (record->ExceptionFlags & (0x2 | 0x4) || !CommitFaultingPage(*record))
    return ExceptionContinueSearch;
  tResumedCode = record->ExceptionCode;
  tResumed = true;
  return ExceptionContinueExecution;
}

}  // namespace
}  // namespace host

#if defined(_WIN64)
#include <excpt.h>

// x86-64 (the Wine tests on machines that run no 32-bit code): a scope found through the unwind
// tables takes every exception; the system unwinds the frames inside and resumes after the call.
namespace host {
namespace {

thread_local DWORD tCaughtCode = 0;
thread_local bool tCaught = false;

extern "C" LONG HostCatchFilter(EXCEPTION_POINTERS* pointers, void*) {
  tCaughtCode = pointers->ExceptionRecord->ExceptionCode;
  tCaught = true;
  return EXCEPTION_EXECUTE_HANDLER;
}

// One scope per file (its labels are fixed), hence never inlined.
__attribute__((noinline)) void CallInScope(void (*body)(void*), void* argument) {
  __try1(HostCatchFilter) body(argument);
  __except1
}

}  // namespace

bool CallCatchingFaults(void (*body)(void*), void* argument, DWORD& code) {
  tCaught = false;
  CallInScope(body, argument);
  if (!tCaught) return false;
  code = tCaughtCode;
  return true;
}

// A function whose own handler is the resuming one, called when the search reaches it.
__attribute__((noinline)) void CallWithResumingHandler(void (*body)(void*), void* argument) {
  asm volatile(".seh_handler HostResumeHandler, @except");
  body(argument);
  asm volatile("nop");
}

bool CallResumingFaults(void (*body)(void*), void* argument, DWORD& code) {
  tResumed = false;
  CallWithResumingHandler(body, argument);
  if (!tResumed) return false;
  code = tResumedCode;
  return true;
}

}  // namespace host
#else
namespace host {
namespace {

// A registration record on the FS:[0] chain with the place to resume at.
struct CatchFrame {
  CatchFrame* next;
  void* handler;
  void* resume[5];  // __builtin_setjmp's buffer
  DWORD code;
};

CatchFrame* ChainHead() {
  CatchFrame* head;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

void SetChainHead(CatchFrame* head) {
  asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

// Takes every exception that reaches it: the frames inside are unwound, as an __except does,
// then execution resumes after the call.
extern "C" EXCEPTION_DISPOSITION __cdecl HostCatchHandler(EXCEPTION_RECORD* record, void* frame,
                                                          CONTEXT*, void*) {
  if (record->ExceptionFlags & (0x2 | 0x4)) return ExceptionContinueSearch;
  auto* f = static_cast<CatchFrame*>(frame);
  f->code = record->ExceptionCode;
  RtlUnwind(f, nullptr, record, nullptr);
  __builtin_longjmp(f->resume, 1);
}

}  // namespace

__attribute__((noinline)) bool CallCatchingFaults(void (*body)(void*), void* argument,
                                                  DWORD& code) {
  CatchFrame frame{};
  frame.handler = reinterpret_cast<void*>(&HostCatchHandler);
  frame.next = ChainHead();
  // Registered before the jump buffer is set, so the compiler knows the handler may change it.
  SetChainHead(&frame);
  if (__builtin_setjmp(frame.resume) == 0) {
    body(argument);
    SetChainHead(frame.next);
    return false;
  }
  SetChainHead(frame.next);
  code = static_cast<volatile CatchFrame&>(frame).code;
  return true;
}

__attribute__((noinline)) bool CallResumingFaults(void (*body)(void*), void* argument,
                                                  DWORD& code) {
  CatchFrame frame{};
  frame.handler = reinterpret_cast<void*>(&HostResumeHandler);
  frame.next = ChainHead();
  tResumed = false;
  SetChainHead(&frame);
  body(argument);
  SetChainHead(frame.next);
  if (!tResumed) return false;
  code = tResumedCode;
  return true;
}

}  // namespace host
#endif
