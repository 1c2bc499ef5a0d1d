#pragma once
// The names of attachments. Titles come from whoever sent the mail: before a title names a file it
// is reduced to a bare file name that stays inside the work folder on Windows and elsewhere. A
// name written into a part's headers is code-page text, and its extension gives the part's type.
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "received/mail_tools.h"

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

// A file name in the code page for a header: unchanged when every character has a form there,
// otherwise the system's best-fit form ("Dökument.pdf" becomes "Dokument.pdf"), with '_' for
// each character that has no near form either, and for any character a file name cannot hold.
[[nodiscard]] std::string AnsiFileName(std::wstring_view name);

// The MIME type of an attachment: the table's type for the name's extension (from its last dot);
// where the table has none, `mimeTag` (the type the sender gave) when it is a well-formed type;
// else application/octet-stream, as for data nothing tells more about.
[[nodiscard]] std::string MimeTypeForName(const TMailTools& tools, const std::wstring& name,
                                          std::string_view mimeTag = {});

}  // namespace vlm
