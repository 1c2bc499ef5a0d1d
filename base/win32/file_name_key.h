#pragma once
// File names compared as the file system compares them: ignoring case by the system's
// upper-case table, beyond ASCII too ("ä.txt" and "Ä.txt" are one file on NTFS).
#include <string>
#include <string_view>

namespace vlm {

// The name in the one case that comparison sees: names the file system takes for one file get
// equal keys, and only those (CompareStringOrdinal, ignoring case, has the last word).
[[nodiscard]] std::wstring FileNameKey(std::wstring_view name);

}  // namespace vlm
