#include "base/unexpected_error.h"

#include "base/ansi_text.h"
#include "base/wide_message.h"

namespace vlm {

std::wstring UnexpectedErrorText(const char* where, const std::exception* error) {
  std::wstring text = L"Velmoraで予期しないエラーが発生しました。\r\n\r\n処理: " + FromAnsi(where);
  if (error) text += L"\r\n内容: " + ExceptionText(*error);
  return text;
}

}  // namespace vlm
