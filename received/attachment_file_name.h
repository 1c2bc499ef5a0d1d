#pragma once
// The names of attachments. Titles come from whoever sent the mail: before a title names a file it
// is reduced to a bare file name that stays inside the work folder on Windows and elsewhere. A
// name written into a part's headers is code-page text, and its extension gives the part's type.
#include <filesystem>
#include <string>
#include <string_view>

#include "received/mail_tools.h"

namespace vlm {

// The title as a bare file name: separators, drive colons, control characters and the characters
// Windows forbids become '_', trailing dots and spaces go (so "." and ".." vanish), a reserved
// device name gets a leading '_', and an overlong name is shortened, keeping its extension.
// Empty when nothing usable remains.
std::wstring SafeFileName(std::wstring_view title);

// The path of the file `name` inside `folder` (the name as FilePath makes it a path, so Japanese
// names survive whatever the C locale).
std::filesystem::path FileInFolder(const std::filesystem::path& folder, std::wstring_view name);

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
