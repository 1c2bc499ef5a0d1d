#pragma once
// No C++ exception may cross an export into the host: the host is not C++ and would crash.
// Each export runs its body through Guarded, which tells the user and returns the neutral result.
#include <exception>
#include <string>

#include "plugin/ansi_text.h"
#include "plugin/win32/app_window.h"

namespace vlm {

void ReportUnexpectedError(const char* where, const std::exception* error) noexcept;

template <typename Result, typename Body>
Result Guarded(const char* where, Result neutral, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    ReportUnexpectedError(where, &e);
  } catch (...) {
    ReportUnexpectedError(where, nullptr);
  }
  return neutral;
}

template <typename Body>
void GuardedVoid(const char* where, Body&& body) noexcept {
  Guarded(where, 0, [&] {
    body();
    return 0;
  });
}

}  // namespace vlm
