#pragma once
// Attachment titles come from whoever sent the mail. Before a title names a file it is reduced to
// a bare file name that stays inside the work folder on Windows and elsewhere.
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace vlm {

// The title as a bare file name: separators, drive colons, control characters and the characters
// Windows forbids become '_', trailing dots and spaces go (so "." and ".." vanish), a reserved
// device name gets a leading '_', and an overlong name is shortened, keeping its extension.
// Empty when nothing usable remains.
std::wstring SafeFileName(std::wstring_view title);

// Hands out the names of the files written into one folder by one conversion, so that two
// attachments with the same title (compared as Windows compares names) keep their own content:
// the later one becomes "name (2).ext", "name (3).ext" and so on.
// The path of the file `name` inside `folder`. The name goes through UTF-8, which both Windows
// and POSIX file systems take as it is whatever the C locale, so Japanese names survive.
std::filesystem::path FileInFolder(const std::filesystem::path& folder, std::wstring_view name);

class TUniqueFileNames {
 public:
  std::wstring Claim(const std::wstring& name);

 private:
  std::set<std::wstring> FUsed;  // as FileNameKey gives them
};

}  // namespace vlm
