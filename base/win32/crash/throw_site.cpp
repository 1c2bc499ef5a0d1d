// Every C++ throw in Velmora.dll passes here first: the link wraps __cxa_throw. The throwing
// thread's return addresses are noted while the stack still holds them, so a crash report shows
// where an exception came from and not only the guard that caught it.
#include <windows.h>

#include "base/win32/crash/crash_reporter.h"

extern "C" {

[[noreturn]] void __real___cxa_throw(void* object, void* type, void* destructor);

[[noreturn]] void __wrap___cxa_throw(void* object, void* type, void* destructor) {
  if (vlm::TCrashReporter* r = vlm::CrashReporter; r && r->Enabled && !r->Busy) {
    r->ThrownObject = object;
    r->ThrownThread = GetCurrentThreadId();
    // Nothing skipped: whether the system counts this wrapper as a frame differs between
    // systems, and the function that threw must not be lost.
    r->ThrownCount = RtlCaptureStackBackTrace(0, vlm::kCrashMaxFrames, r->ThrownFrames, nullptr);
  }
  __real___cxa_throw(object, type, destructor);
}

}  // extern "C"
