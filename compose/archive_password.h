#pragma once
// The password of a ZIP archive as it goes onto the archiver's command line.
#include <string>
#include <string_view>

namespace vlm {

// Why `password` cannot be used, as the text shown to the user; empty when it can. An empty
// password would let the archiver take the archive's name for the password, and a double quote
// cannot be written inside the quoted form. The archiver gets the password in code page 932: a
// character the code page holds only as a near form ("é" as "e") would lock the archive with a
// password other than the one the user typed and tells the recipient, so the text names the
// first such character.
[[nodiscard]] std::wstring PasswordProblem(std::wstring_view password);

// The switch for a usable password: "-P " and the password, in double quotes when it holds a
// blank (the command line splits at blanks outside quotes). Backslashes at the end of a quoted
// password stand after the closing quote ("-P "pass word"\"), so that the quote is a closing
// quote whether the DLL reads a backslash before a quote as an escape (the C runtime's rule) or
// as an ordinary character (the rule folder arguments such as "C:\dir\" rely on): either way the
// password is the same.
[[nodiscard]] std::wstring PasswordSwitch(std::wstring_view password);

}  // namespace vlm
