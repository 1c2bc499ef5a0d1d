#include "base/win32/export_guard.h"

#include "base/win32/crash_report.h"

namespace vlm {

void ReportUnexpectedError(const char* where, const std::exception* error) noexcept {
  if (ReportCppException(where, error)) return;
  // Crash reports are off (or could not be written): tell the user only.
  try {
    std::wstring text =
        L"Velmoraで予期しないエラーが発生しました。\r\n\r\n処理: " + FromAnsi(where);
    if (error) text += L"\r\n内容: " + FromAnsi(error->what());
    ShowMessage(text, L"Velmoraエラー", MB_OK | MB_ICONERROR);
  } catch (...) {
    // Nothing more can be told; the host must go on.
  }
}

}  // namespace vlm
