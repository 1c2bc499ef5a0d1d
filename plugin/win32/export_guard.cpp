#include "plugin/win32/export_guard.h"

namespace vlm {

void ReportUnexpectedError(const char* where, const std::exception* error) noexcept {
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
