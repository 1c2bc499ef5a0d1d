#pragma once
// Text crosses the host boundary in the system code page (932 on the systems the host serves);
// inside the plug-in it is wide text. On Windows these use the ANSI code page; the native build
// converts with code page 932 so tests see what a Japanese system sees.
#include <optional>
#include <string>
#include <string_view>

namespace vlm {

std::wstring FromAnsi(std::string_view text);
std::string ToAnsi(std::wstring_view text);
// As ToAnsi, but nothing when some character has no form in the code page. Use it for file
// names handed to other programs: a substituted "?" would read as a wildcard there.
std::optional<std::string> ToAnsiExact(std::wstring_view text);
// The system's best-fit form of `text` in the code page, read back as wide text ("é" comes back
// as "e" on Windows); a character with no near form either comes back as "?". The native build
// has no best-fit table: there only the characters the code page holds exactly stay.
std::wstring BestFitAnsi(std::wstring_view text);

// Shift-JIS (code page 932) whatever the system's ANSI code page: for the texts the host reads
// as Shift-JIS, the plug-in information block and the descriptions of registered commands.
std::string ToShiftJis(std::wstring_view text);

// UTF-8 literals in tests and data files, to wide text and back.
std::wstring FromUtf8(std::string_view text);
// Never fails: unpaired surrogates and values beyond Unicode become U+FFFD. Fit for exception
// messages, whose constructors must not throw, and for native file names.
std::string ToUtf8(std::wstring_view text);

}  // namespace vlm
