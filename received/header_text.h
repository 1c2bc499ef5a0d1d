#pragma once
// Header texts of a message the plug-in writes itself: words in any script as RFC 2047 encoded
// words, dates as RFC 5322 writes them.
#include <cstdint>
#include <string>
#include <string_view>

namespace vlm {

// `text` for a header field's value: unchanged when it is printable ASCII, else as UTF-8 "B"
// encoded words, never splitting a character, folded onto continuation lines so that no line
// grows long. Line breaks and other control characters in the text become spaces.
[[nodiscard]] std::string EncodedHeaderText(std::wstring_view text);

// A FILETIME (100 ns since 1601-01-01, UTC) as "Thu, 11 Dec 2026 04:00:00 +0000".
[[nodiscard]] std::string MailDate(std::uint64_t fileTime);

}  // namespace vlm
