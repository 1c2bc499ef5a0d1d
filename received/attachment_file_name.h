#pragma once
// Attachment titles come from whoever sent the mail. Before a title names a file it is reduced to
// a bare file name that stays inside the work folder on Windows and elsewhere.
#include <filesystem>
#include <string>
#include <string_view>

namespace vlm {

// The title as a bare file name: separators, drive colons, control characters and the characters
// Windows forbids become '_', trailing dots and spaces go (so "." and ".." vanish), a reserved
// device name gets a leading '_', and an overlong name is shortened, keeping its extension.
// Empty when nothing usable remains.
std::wstring SafeFileName(std::wstring_view title);

// The path of the file `name` inside `folder`. The name goes through UTF-8, which both Windows
// and POSIX file systems take as it is whatever the C locale, so Japanese names survive.
std::filesystem::path FileInFolder(const std::filesystem::path& folder, std::wstring_view name);

}  // namespace vlm
