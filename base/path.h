#pragma once
// The parts of a file path. Windows takes both "\" and "/" as folder separators (a file name can
// hold neither), and ":" ends a drive prefix, so all three end a folder part here; the native
// build's "/" paths split the same way.
#include <string>
#include <string_view>

namespace vlm {

// The last component: what follows the last "\", "/" or ":".
[[nodiscard]] std::wstring FileNamePart(std::wstring_view path);
// The extension of the last component with its dot, as written; empty when it has no dot.
[[nodiscard]] std::wstring FileExtension(std::wstring_view path);
// FileExtension lower-cased ("A-Z" only).
[[nodiscard]] std::wstring LowerExtension(std::wstring_view path);
// `path` with its last extension replaced by `extension`, or with `extension` appended when it
// has none ("report.tar.gz" gives "report.tar.zip").
[[nodiscard]] std::wstring ChangeExtension(std::wstring_view path, std::wstring_view extension);
// The folder that holds the item, as a path that names it on its own: what precedes the last
// "\" or "/", except that a drive root keeps its separator ("D:\Photos" gives "D:\", because
// "D:" alone means the current folder of drive D). Nothing when there is no separator.
[[nodiscard]] std::wstring FolderPart(std::wstring_view path);
// `folder` and `name` joined with the platform's separator unless `folder` already ends in one
// (or is empty).
[[nodiscard]] std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

}  // namespace vlm
