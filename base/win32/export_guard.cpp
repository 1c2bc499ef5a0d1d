#include "base/win32/export_guard.h"

#include "base/unexpected_error.h"
#include "base/win32/crash/crash_report.h"

namespace vlm {

void ReportUnexpectedError(const char* where, const std::exception* error) noexcept {
  if (ReportCppException(where, error)) return;
  // Crash reports are off (or could not be written): tell the user only.
  try {
    ShowMessage(UnexpectedErrorText(where, error), L"Velmoraエラー", MB_OK | MB_ICONERROR);
  } catch (...) {
    // Nothing more can be told; the host must go on.
  }
}

}  // namespace vlm
