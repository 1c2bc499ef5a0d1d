#include "sendcheck/archive_members.h"

#include <algorithm>
#include <cstdint>

namespace vlm {
namespace {

std::uint32_t Le16(TArchiveBytes b, std::size_t at) {
  return b[at] | static_cast<std::uint32_t>(b[at + 1]) << 8;
}
std::uint32_t Le32(TArchiveBytes b, std::size_t at) {
  return Le16(b, at) | Le16(b, at + 2) << 16;
}
std::string Text(TArchiveBytes b, std::size_t at, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(b.data() + at), size);
}

// ZIP: the end-of-central-directory record is 22 bytes plus a comment of up to 65535.
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kEntrySize = 46;
constexpr std::uint32_t kEncryptedFlag = 0x0001;
constexpr std::uint32_t kUtf8Flag = 0x0800;

// Where the end record starts: the last signature whose comment ends inside the bytes.
std::optional<std::size_t> FindEndRecord(TArchiveBytes b) {
  if (b.size() < kEndRecordSize) return std::nullopt;
  const std::size_t last = b.size() - kEndRecordSize;
  const std::size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
  for (std::size_t at = last + 1; at-- > first;)
    if (Le32(b, at) == kEndOfDirectory && at + kEndRecordSize + Le16(b, at + 20) <= b.size())
      return at;
  return std::nullopt;
}

// LZH: the method field "-lh5-", "-lzs-" and the like, after the header's first two bytes.
bool IsLzhMethod(TArchiveBytes b, std::size_t at) {
  return b[at] == '-' && b[at + 1] == 'l' && (b[at + 2] == 'h' || b[at + 2] == 'z') &&
         b[at + 4] == '-';
}

constexpr std::size_t kLzhBaseSize = 22;  // the fields every level shares, up to the level byte
constexpr unsigned char kLzhFileName = 0x01;

// The extended headers of levels 1 and 2 from `at`, each [type][data][size of the next], the
// first's size given as `size`; the name comes from the file-name header. Returns where they end.
std::optional<std::size_t> ReadExtendedHeaders(TArchiveBytes b, std::size_t at, std::size_t size,
                                               std::size_t end, TArchiveMember& member) {
  while (size != 0) {
    if (size < 3 || size > end - at) return std::nullopt;
    if (b[at] == kLzhFileName) member.Name = Text(b, at + 1, size - 3);
    const std::size_t next = Le16(b, at + size - 2);
    at += size;
    size = next;
  }
  return at;
}

// One LZH header at `at` (its method checked): the member, and where the next header starts.
std::optional<std::size_t> ReadLzhHeader(TArchiveBytes b, std::size_t at, TArchiveMember& member) {
  const std::size_t left = b.size() - at;
  const std::uint32_t packed = Le32(b, at + 7);
  switch (b[at + 20]) {
    case 0:
    case 1: {
      const std::size_t base = static_cast<std::size_t>(b[at]) + 2;
      const std::size_t nameSize = b[at + 21];
      if (base > left || kLzhBaseSize + nameSize > base) return std::nullopt;
      member.Name = Text(b, at + 22, nameSize);
      if (b[at + 20] == 0)
        return packed > left - base ? std::nullopt : std::optional(at + base + packed);
      // Level 1: the packed size counts the extended headers too.
      if (base < kLzhBaseSize + nameSize + 5) return std::nullopt;
      const auto data = ReadExtendedHeaders(b, at + base, Le16(b, at + base - 2), b.size(), member);
      if (!data || packed > b.size() - at - base) return std::nullopt;
      return at + base + packed;
    }
    case 2: {
      const std::size_t total = Le16(b, at);
      if (total < 26 || total > left) return std::nullopt;
      const auto end = ReadExtendedHeaders(b, at + 26, Le16(b, at + 24), at + total, member);
      if (!end || packed > b.size() - at - total) return std::nullopt;
      return at + total + packed;
    }
    default:
      return std::nullopt;  // level 3 and beyond: not read
  }
}

}  // namespace

std::optional<std::vector<TArchiveMember>> ZipMembers(TArchiveBytes bytes) {
  const auto end = FindEndRecord(bytes);
  if (!end) return std::nullopt;
  const std::size_t count = Le16(bytes, *end + 10);
  const std::size_t size = Le32(bytes, *end + 12);
  const std::size_t offset = Le32(bytes, *end + 16);
  // The directory lies before the end record; a count that cannot fit in it is a lie.
  if (offset > *end || size > *end - offset || count > size / kEntrySize) return std::nullopt;
  std::vector<TArchiveMember> members;
  members.reserve(count);
  std::size_t at = offset;
  const std::size_t directoryEnd = offset + size;
  for (std::size_t i = 0; i < count; ++i) {
    if (directoryEnd - at < kEntrySize || Le32(bytes, at) != kDirectoryEntry) return std::nullopt;
    const std::uint32_t flags = Le16(bytes, at + 8);
    const std::size_t nameSize = Le16(bytes, at + 28);
    const std::size_t rest = nameSize + Le16(bytes, at + 30) + Le16(bytes, at + 32);
    if (rest > directoryEnd - at - kEntrySize) return std::nullopt;
    members.push_back({Text(bytes, at + kEntrySize, nameSize), (flags & kUtf8Flag) != 0,
                       (flags & kEncryptedFlag) != 0});
    at += kEntrySize + rest;
  }
  return members;
}

std::optional<std::vector<TArchiveMember>> LzhMembers(TArchiveBytes bytes) {
  std::vector<TArchiveMember> members;
  std::size_t at = 0;
  // The end mark, or the end of the bytes (some archivers leave the mark out).
  while (at < bytes.size() && bytes[at] != 0) {
    if (bytes.size() - at < kLzhBaseSize + 4 || !IsLzhMethod(bytes, at + 2)) return std::nullopt;
    TArchiveMember member;
    const auto next = ReadLzhHeader(bytes, at, member);
    if (!next) return std::nullopt;
    members.push_back(std::move(member));
    at = *next;
  }
  if (members.empty()) return std::nullopt;
  return members;
}

}  // namespace vlm
