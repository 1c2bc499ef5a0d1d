#include "sendcheck/archive_members.h"

#include <algorithm>
#include <cstdint>

namespace vlm {
namespace {

using TBytes = std::vector<unsigned char>;

std::uint32_t Le16(const TBytes& b, std::size_t at) {
  return b[at] | static_cast<std::uint32_t>(b[at + 1]) << 8;
}
std::uint32_t Le32(const TBytes& b, std::size_t at) {
  return Le16(b, at) | Le16(b, at + 2) << 16;
}
std::string Text(const TBytes& b, std::size_t at, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(b.data() + at), size);
}

// ZIP: the end-of-central-directory record is 22 bytes plus a comment of up to 65535.
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kLargestComment = 0xFFFF;
constexpr std::size_t kEntrySize = 46;
constexpr std::uint32_t kEncryptedFlag = 0x0001;
constexpr std::uint32_t kUtf8Flag = 0x0800;
// A directory of 65535 entries with long names stays well below this; a larger one is not read.
constexpr std::size_t kLargestDirectory = 16 * 1024 * 1024;

// Where the end record starts in `tail` (the archive's last bytes): the last signature whose
// comment ends inside them.
std::optional<std::size_t> FindEndRecord(const TBytes& tail) {
  if (tail.size() < kEndRecordSize) return std::nullopt;
  for (std::size_t at = tail.size() - kEndRecordSize + 1; at-- > 0;)
    if (Le32(tail, at) == kEndOfDirectory &&
        at + kEndRecordSize + Le16(tail, at + 20) <= tail.size())
      return at;
  return std::nullopt;
}

std::optional<std::vector<TArchiveMember>> ReadDirectory(const TBytes& directory,
                                                         std::size_t count) {
  std::vector<TArchiveMember> members;
  members.reserve(count);
  std::size_t at = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (directory.size() - at < kEntrySize || Le32(directory, at) != kDirectoryEntry)
      return std::nullopt;
    const std::uint32_t flags = Le16(directory, at + 8);
    const std::size_t nameSize = Le16(directory, at + 28);
    const std::size_t rest = nameSize + Le16(directory, at + 30) + Le16(directory, at + 32);
    if (rest > directory.size() - at - kEntrySize) return std::nullopt;
    members.push_back({Text(directory, at + kEntrySize, nameSize), (flags & kUtf8Flag) != 0,
                       (flags & kEncryptedFlag) != 0});
    at += kEntrySize + rest;
  }
  return members;
}

// LZH: every header begins with its size, a checksum (level 0 and 1) and the method field
// ("-lh5-", "-lzs-" and the like); the level byte follows the common fields.
constexpr std::size_t kLzhCommonSize = 22;  // up to and including the name length (levels 0, 1)
constexpr std::size_t kLzhLevel2Size = 26;  // up to and including the first extension size
constexpr unsigned char kLzhFileName = 0x01;
// Real archives have a handful of extension headers per member and rarely more than a few
// thousand members; an archive beyond these bounds is not read.
constexpr std::size_t kLargestLzhExtensions = 256;
constexpr std::size_t kLargestLzhMembers = 65536;

bool IsLzhMethod(const TBytes& b) {
  return b[2] == '-' && b[3] == 'l' && (b[4] == 'h' || b[4] == 'z') && b[6] == '-';
}

// Level 1: the extension headers after the base header at `at`, each [type][data][size of the
// next], read one by one from the source. Returns where they end.
std::optional<std::size_t> ReadLevel1Extensions(const TArchiveSource& source, std::size_t at,
                                                std::size_t size, TArchiveMember& member) {
  for (std::size_t count = 0; size != 0; ++count) {
    if (count == kLargestLzhExtensions || size < 3 || size > source.Size - at) return std::nullopt;
    const auto header = source.Read(at, size);
    if (!header) return std::nullopt;
    if ((*header)[0] == kLzhFileName) member.Name = Text(*header, 1, size - 3);
    at += size;
    size = Le16(*header, size - 2);
  }
  return at;
}

// Level 2: the extension headers inside the header already read, from `at` to its end.
bool ReadLevel2Extensions(const TBytes& header, std::size_t at, TArchiveMember& member) {
  for (std::size_t size = Le16(header, at - 2); size != 0; size = Le16(header, at - 2)) {
    if (size < 3 || size > header.size() - at) return false;
    if (header[at] == kLzhFileName) member.Name = Text(header, at + 1, size - 3);
    at += size;
  }
  return true;
}

// One LZH header at `at`: the member, and where the next header starts.
std::optional<std::size_t> ReadLzhHeader(const TArchiveSource& source, std::size_t at,
                                         TArchiveMember& member) {
  const std::size_t left = source.Size - at;
  const auto common = left >= kLzhCommonSize ? source.Read(at, kLzhCommonSize) : std::nullopt;
  if (!common || !IsLzhMethod(*common)) return std::nullopt;
  const std::size_t packed = Le32(*common, 7);
  const unsigned level = (*common)[20];
  if (level == 0 || level == 1) {
    const std::size_t base = static_cast<std::size_t>((*common)[0]) + 2;
    const std::size_t nameSize = (*common)[21];
    const std::size_t fixedSize = kLzhCommonSize + nameSize + (level == 0 ? 0 : 5);
    if (base > left || fixedSize > base) return std::nullopt;
    const auto header = source.Read(at, base);
    if (!header) return std::nullopt;
    member.Name = Text(*header, kLzhCommonSize, nameSize);
    // Level 1 counts its extension headers in the packed size.
    if (level == 1 && !ReadLevel1Extensions(source, at + base, Le16(*header, base - 2), member))
      return std::nullopt;
    if (packed > left - base) return std::nullopt;
    return at + base + packed;
  }
  if (level != 2) return std::nullopt;  // level 3 and beyond: not read
  const std::size_t total = Le16(*common, 0);
  if (total < kLzhLevel2Size || total > left) return std::nullopt;
  const auto header = source.Read(at, total);
  if (!header || !ReadLevel2Extensions(*header, kLzhLevel2Size, member)) return std::nullopt;
  if (packed > left - total) return std::nullopt;
  return at + total + packed;
}

}  // namespace

TArchiveSource MemorySource(TArchiveBytes bytes) {
  return {bytes.size(), [bytes](std::size_t at, std::size_t size) -> std::optional<TBytes> {
            if (at > bytes.size() || size > bytes.size() - at) return std::nullopt;
            return TBytes(bytes.begin() + at, bytes.begin() + at + size);
          }};
}

std::optional<std::vector<TArchiveMember>> ZipMembers(const TArchiveSource& source) {
  const std::size_t tailSize = std::min(source.Size, kEndRecordSize + kLargestComment);
  const std::size_t tailAt = source.Size - tailSize;
  const auto tail = source.Read(tailAt, tailSize);
  const auto end = tail ? FindEndRecord(*tail) : std::nullopt;
  if (!end) return std::nullopt;
  const std::size_t endAt = tailAt + *end;
  const std::size_t count = Le16(*tail, *end + 10);
  const std::size_t size = Le32(*tail, *end + 12);
  const std::size_t offset = Le32(*tail, *end + 16);
  // The directory lies before the end record; a count that cannot fit in it is a lie.
  if (offset > endAt || size > endAt - offset || count > size / kEntrySize ||
      size > kLargestDirectory)
    return std::nullopt;
  const auto directory = source.Read(offset, size);
  return directory ? ReadDirectory(*directory, count) : std::nullopt;
}

std::optional<std::vector<TArchiveMember>> ZipMembers(TArchiveBytes bytes) {
  return ZipMembers(MemorySource(bytes));
}

std::optional<std::vector<TArchiveMember>> LzhMembers(const TArchiveSource& source) {
  std::vector<TArchiveMember> members;
  std::size_t at = 0;
  // The end mark, or the end of the bytes (some archivers leave the mark out).
  while (at < source.Size) {
    const auto first = source.Read(at, 1);
    if (!first) return std::nullopt;
    if ((*first)[0] == 0) break;
    if (members.size() == kLargestLzhMembers) return std::nullopt;
    TArchiveMember member;
    const auto next = ReadLzhHeader(source, at, member);
    if (!next) return std::nullopt;
    members.push_back(std::move(member));
    at = *next;
  }
  if (members.empty()) return std::nullopt;
  return members;
}

std::optional<std::vector<TArchiveMember>> LzhMembers(TArchiveBytes bytes) {
  return LzhMembers(MemorySource(bytes));
}

}  // namespace vlm
