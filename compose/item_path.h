#pragma once
// The parts of a dropped item's path, split the way the host's file names are: "\" and ":"
// separate folders, the extension runs from the last dot of the last component.
#include <string>
#include <string_view>

namespace vlm {

// The last component: what follows the last "\" or ":".
[[nodiscard]] std::wstring FileNamePart(std::wstring_view path);
// The extension with its dot, lower-cased ("A-Z" only); empty when the last component has no dot.
[[nodiscard]] std::wstring LowerExtension(std::wstring_view path);
// `path` with its last extension replaced by `extension`, or with `extension` appended when it
// has none ("report.tar.gz" gives "report.tar.zip").
[[nodiscard]] std::wstring ChangeExtension(std::wstring_view path, std::wstring_view extension);
// The folder that holds the item, as a path that names it on its own: what precedes the last
// "\", except that a drive root keeps its "\" ("D:\Photos" gives "D:\", because "D:" alone
// means the current folder of drive D). Nothing when there is no "\".
[[nodiscard]] std::wstring FolderPart(std::wstring_view path);

}  // namespace vlm
