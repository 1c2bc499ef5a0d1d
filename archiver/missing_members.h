#pragma once
// What an archive lacks of the files handed to its archiver. An archiver may skip a file it
// cannot open or name (one another program holds open, "aux.c", "trail.") and still report
// success, so the archive is listed after packing and compared with what was handed over.
#include <string>
#include <vector>

namespace vlm {

// The entries of `packed` that `listed` lacks, in the order of `packed`. Members are stored under
// their path relative to the base folder ("/" or "\"), or under the name alone where paths are
// left out; names compare as the file system compares them.
[[nodiscard]] std::vector<std::wstring> MissingMembers(const std::vector<std::wstring>& packed,
                                                       const std::vector<std::wstring>& listed);

}  // namespace vlm
