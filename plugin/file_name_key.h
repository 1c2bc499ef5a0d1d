#pragma once
// Names of files written into one folder are told apart as the file system tells them apart:
// NTFS takes "ä.pdf" and "Ä.pdf", or full-width "ａ" and "Ａ", for one file, so two attachments
// so named would overwrite each other.
#include <string>
#include <string_view>

namespace vlm {

// The name in the one case the file system compares names in: names it takes for one file get
// equal keys, and only those.
[[nodiscard]] std::wstring FileNameKey(std::wstring_view name);

}  // namespace vlm
