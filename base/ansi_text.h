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

// True for a byte that begins a two-byte character in the code page (in code page 932 the bytes
// 0x81 to 0x9F and 0xE0 to 0xFC). Its second byte may be any byte from 0x40 on, ASCII letters
// included, so a byte search must check that a hit begins a character.
bool IsAnsiLeadByte(unsigned char byte);

// UTF-8 literals in tests and data files, to wide text and back.
std::wstring FromUtf8(std::string_view text);
// Never fails: unpaired surrogates and values beyond Unicode become U+FFFD. Fit for exception
// messages, whose constructors must not throw, and for native file names.
std::string ToUtf8(std::wstring_view text);

// 8-bit text in the Windows code page `codePage` (1251, 1252, 932, 65001, ...), as a sender's
// file names come; raises std::runtime_error for a code page the system lacks or bytes that are
// not text in it.
std::wstring FromCodePage(unsigned codePage, std::string_view text);

}  // namespace vlm
