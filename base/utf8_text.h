#pragma once
// Wide text to UTF-8 that cannot fail: unpaired surrogates and values beyond Unicode become
// U+FFFD. For exception messages, whose constructors must not throw, and for native file names,
// where a code page conversion per name would cost more than the directory search.
#include <string>

namespace vlm {
std::string ToUtf8NoThrow(const std::wstring& text);
}  // namespace vlm
