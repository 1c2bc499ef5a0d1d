#include "base/wide_message.h"

#include "base/ansi_text.h"

namespace vlm {

EWideMessage::EWideMessage(std::wstring message)
    : std::runtime_error(ToUtf8(message)), FMessage(std::move(message)) {}

const wchar_t* WideMessageOf(const std::exception& error) noexcept {
  const auto* wide = dynamic_cast<const EWideMessage*>(&error);
  return wide ? wide->Message().c_str() : nullptr;
}

std::wstring ExceptionText(const std::exception& error) {
  if (const wchar_t* wide = WideMessageOf(error)) return wide;
  return FromAnsi(error.what());
}

}  // namespace vlm
