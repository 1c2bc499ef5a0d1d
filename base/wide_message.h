#pragma once
// An exception whose message is wide text meant for the user. `what()` holds the same message as
// UTF-8 (for logs and test output), never in the code page: show `Message()`, not `what()`.
#include <exception>
#include <stdexcept>
#include <string>

namespace vlm {

class EWideMessage : public std::runtime_error {
 public:
  explicit EWideMessage(std::wstring message);
  const std::wstring& Message() const noexcept { return FMessage; }

 private:
  std::wstring FMessage;
};

// The wide message of an EWideMessage, or null for any other exception. Allocates nothing.
[[nodiscard]] const wchar_t* WideMessageOf(const std::exception& error) noexcept;

// The message of any exception as the user should read it: an EWideMessage's own wide text,
// any other `what()` read in the system code page.
[[nodiscard]] std::wstring ExceptionText(const std::exception& error);

}  // namespace vlm
