#pragma once
// The member names of an archive, read from its directory without unpacking anything: the central
// directory of a ZIP file, the chain of headers of an LZH file. The bytes come from a mail
// attachment, so they are anybody's: every count, length and offset is checked against the size,
// every walk moves forward by at least a header's fixed size and stops at a bounded number of
// entries, and a damaged or hostile archive reads as unreadable (nothing), never as an empty one.
// Only the pieces the directory lies in are read from the source.
#include <cstddef>
#include <functional>
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

// An archive's bytes, read a range at a time: Read(at, size) gives exactly `size` bytes or
// nothing (beyond Size, or bytes that cannot be had).
struct TArchiveSource {
  std::size_t Size = 0;
  std::function<std::optional<std::vector<unsigned char>>(std::size_t at, std::size_t size)> Read;
};

// Bytes held in memory (which must outlive the source).
[[nodiscard]] TArchiveSource MemorySource(TArchiveBytes bytes);

// The members listed by the central directory, found from the end-of-central-directory record.
// A ZIP64 archive (counts or offsets that do not fit the record) reads as unreadable.
[[nodiscard]] std::optional<std::vector<TArchiveMember>> ZipMembers(const TArchiveSource& source);
[[nodiscard]] std::optional<std::vector<TArchiveMember>> ZipMembers(TArchiveBytes bytes);

// The members of an LZH archive with headers of level 0, 1 or 2, from the first header to the
// end mark (a zero byte) or the end of the bytes.
[[nodiscard]] std::optional<std::vector<TArchiveMember>> LzhMembers(const TArchiveSource& source);
[[nodiscard]] std::optional<std::vector<TArchiveMember>> LzhMembers(TArchiveBytes bytes);

}  // namespace vlm
