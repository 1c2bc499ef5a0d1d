#pragma once
// The member names of an archive held in memory, read from its directory without unpacking
// anything: the central directory of a ZIP file, the chain of headers of an LZH file. The bytes
// come from a mail attachment, so they are anybody's: every count, length and offset is checked
// against the buffer, every walk moves forward by at least a header's fixed size, and a damaged or
// hostile archive reads as unreadable (nothing), never as an empty one.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vlm {

struct TArchiveMember {
  std::string Name;        // as the archive stores it
  bool Utf8 = false;       // the name is UTF-8 (ZIP flag bit 11); otherwise the local code page
  bool Encrypted = false;  // the member's data needs a password
};

using TArchiveBytes = std::span<const unsigned char>;

// The members listed by the central directory, found from the end-of-central-directory record.
// A ZIP64 archive (counts or offsets that do not fit the record) reads as unreadable.
[[nodiscard]] std::optional<std::vector<TArchiveMember>> ZipMembers(TArchiveBytes bytes);

// The members of an LZH archive with headers of level 0, 1 or 2, from the first header to the
// end mark (a zero byte) or the end of the bytes.
[[nodiscard]] std::optional<std::vector<TArchiveMember>> LzhMembers(TArchiveBytes bytes);

}  // namespace vlm
