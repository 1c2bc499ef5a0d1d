#pragma once
// What an archive attached to a Gmail message holds, as Gmail judges it: a member of a type Gmail
// refuses, or an archive inside an encrypted one (which Gmail cannot look into), bounces the mail.
#include <optional>
#include <string>
#include <string_view>

#include "sendcheck/archive_members.h"

namespace vlm {

// Whether the members of an archive named with `extension` can be read here: ZIP and LZH.
[[nodiscard]] bool ReadableArchiveType(std::wstring_view extension);

struct TArchiveContents {
  bool Readable = false;       // the directory was read; otherwise nothing is known
  std::wstring RefusedMember;  // the first member that makes Gmail refuse the archive, or empty
};

// Reads the member names of the archive in `source` by its `extension` (see ReadableArchiveType).
[[nodiscard]] TArchiveContents InspectArchive(std::wstring_view extension,
                                              const TArchiveSource& source);

}  // namespace vlm
