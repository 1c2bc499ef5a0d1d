#pragma once
// Where a self-extracting program goes: beside the archive, or in `dstPath` when one is given.
#include <string>
#include <string_view>

namespace vlm {

// The archive path with its extension replaced by `extension`; when `dstPath` is not empty,
// `dstPath` joined with that path's file-name part.
std::wstring SfxProgramPath(const std::wstring& archiveFileName, std::wstring_view extension,
                            const std::wstring& dstPath);

}  // namespace vlm
