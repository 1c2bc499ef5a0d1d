#pragma once
// File names compared as the file system compares them: ignoring case by the system's upper-case
// table, beyond ASCII too. NTFS takes "ä.pdf" and "Ä.pdf", or full-width "ａ" and "Ａ", for one
// file, so two names so spelled would overwrite each other or be listed twice.
#include <string>
#include <string_view>

namespace vlm {

// The name in the one case that comparison sees: names the file system takes for one file get
// equal keys, and only those.
[[nodiscard]] std::wstring FileNameKey(std::wstring_view name);

}  // namespace vlm
