#pragma once
// No C++ exception may cross an export into the host: the host is not C++ and would crash.
// Each export, the hook procedure, the dialog and window procedures and the menu handlers run
// their body through Guarded. A C++ exception is recorded in a crash report, told to the user,
// and the neutral result returned; a hardware fault is recorded by the fault frame around the
// body and then handed on to the host unchanged.
#include <exception>
#include <string>

#include "base/ansi_text.h"
#include "base/win32/app_window.h"
#include "base/win32/crash/fault_frame.h"

namespace vlm {

void ReportUnexpectedError(const char* where, const std::exception* error) noexcept;

template <typename Result, typename Body>
Result Guarded(const char* where, Result neutral, Body&& body) noexcept {
  struct Call {
    const char* where;
    Body& body;
    Result result;
  } call{where, body, neutral};
  CallInsideFaultFrame(
      where,
      [](void* argument) noexcept {
        Call& c = *static_cast<Call*>(argument);
        try {
          c.result = c.body();
        } catch (const std::exception& e) {
          ReportUnexpectedError(c.where, &e);
        } catch (...) {
          ReportUnexpectedError(c.where, nullptr);
        }
      },
      &call);
  return call.result;
}

template <typename Body>
void GuardedVoid(const char* where, Body&& body) noexcept {
  Guarded(where, 0, [&] {
    body();
    return 0;
  });
}

}  // namespace vlm
