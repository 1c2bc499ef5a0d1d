#pragma once
// File-name masks as the Windows directory search reads them: "*" any run, "?" any one
// character, case-insensitive; "*.*" and "*" take every name, a dot included or not.
#include <string_view>

namespace vlm {

bool MatchesMask(std::wstring_view name, std::wstring_view mask);

// True when `mask` has a "*" or "?".
bool HasWildcard(std::wstring_view mask);

// Case folding for file names: ASCII and full-width Latin letters, as file systems compare
// them for the names this layer meets.
wchar_t FoldFileNameChar(wchar_t c);

}  // namespace vlm
