#pragma once
// The password of a ZIP archive as it goes onto the archiver's command line.
#include <string>
#include <string_view>

namespace vlm {

// Why `password` cannot be used, as the text shown to the user; empty when it can. An empty
// password would let the archiver take the archive's name for the password, and a double quote
// cannot be written inside the quoted form.
[[nodiscard]] std::wstring PasswordProblem(std::wstring_view password);

// The switch for a usable password: "-P " and the password, in double quotes when it holds a
// blank (the command line splits at blanks outside quotes).
[[nodiscard]] std::wstring PasswordSwitch(std::wstring_view password);

}  // namespace vlm
