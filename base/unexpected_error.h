#pragma once
// The text of the box that tells the user of an unexpected C++ exception at an entry point.
#include <exception>
#include <string>

namespace vlm {

// `where` is the entry's name; `error` is null for an exception that is no std::exception. The
// exception's message is shown as the user should read it (see ExceptionText).
[[nodiscard]] std::wstring UnexpectedErrorText(const char* where, const std::exception* error);

}  // namespace vlm
