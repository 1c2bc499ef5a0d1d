#pragma once
// File-name text helpers for the archiver layer. Names the layer handles are Windows paths, but
// the native build also sees "/" paths, so both separators count everywhere.
#include <string>
#include <string_view>

namespace vlm {

// The part after the last "\", "/" or ":".
std::wstring ExtractFileName(std::wstring_view path);

// The extension of the file-name part, with its dot ("" when there is none).
std::wstring ExtractFileExt(std::wstring_view path);

// `path` with the extension of its file-name part replaced by `ext` (or `ext` appended).
std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext);

// `folder` and `name` joined with the platform's separator unless `folder` already ends in one
// (or is empty).
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// ASCII case-insensitive equality, as Windows compares extensions and module names.
bool SameTextAscii(std::wstring_view a, std::wstring_view b);

}  // namespace vlm
