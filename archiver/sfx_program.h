#pragma once
// Where a self-extracting program goes: beside the archive, or in `dstPath` when one is given.
#include <string>
#include <string_view>

namespace vlm {

// The archive path with its extension replaced by `extension`; when `dstPath` is not empty,
// `dstPath` joined with that path's file-name part.
std::wstring SfxProgramPath(const std::wstring& archiveFileName, std::wstring_view extension,
                            const std::wstring& dstPath);

// Throws EFileError when the program would take the place of the archive it is made from (an
// archive already named "<name>.exe"): the program would replace its own input, and the ZIP
// conversion deletes the archive file afterwards, which would then be the program.
void CheckProgramIsNotArchive(const std::wstring& program, const std::wstring& archiveFileName);

}  // namespace vlm
