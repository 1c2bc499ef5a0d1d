#include "sendcheck/archive_contents.h"

#include "base/ansi_text.h"
#include "base/extension_lists.h"
#include "base/text.h"

namespace vlm {
namespace {

std::wstring MemberName(const TArchiveMember& member) {
  return member.Utf8 ? FromUtf8(member.Name) : FromAnsi(member.Name);
}

// The extension of the member's own name: ZIP separates folders with "/", LZH with "\" (or 0xFF,
// which never stands before a dot that matters).
std::wstring_view MemberExtension(std::wstring_view name) {
  const std::size_t dot = name.find_last_of(L"./\\");
  if (dot == std::wstring_view::npos || name[dot] != L'.') return {};
  return name.substr(dot);
}

std::optional<std::vector<TArchiveMember>> ReadMembers(std::wstring_view extension,
                                                       const TArchiveSource& source) {
  if (EqualsIgnoringAsciiCase(extension, L".zip")) return ZipMembers(source);
  return LzhMembers(source);
}

}  // namespace

bool ReadableArchiveType(std::wstring_view extension) {
  return EqualsIgnoringAsciiCase(extension, L".zip") ||
         EqualsIgnoringAsciiCase(extension, L".lzh") || EqualsIgnoringAsciiCase(extension, L".lha");
}

TArchiveContents InspectArchive(std::wstring_view extension, const TArchiveSource& source) {
  TArchiveContents contents;
  if (!ReadableArchiveType(extension)) return contents;
  const auto members = ReadMembers(extension, source);
  if (!members) return contents;
  contents.Readable = true;
  bool encrypted = false;
  for (const TArchiveMember& member : *members) encrypted = encrypted || member.Encrypted;
  for (const TArchiveMember& member : *members) {
    const std::wstring name = MemberName(member);
    const std::wstring_view type = MemberExtension(name);
    if (ListContains(GmailBlockedExtensions, type) ||
        (encrypted && ListContains(ArchiveExtensions, type))) {
      contents.RefusedMember = name;
      break;
    }
  }
  return contents;
}

}  // namespace vlm
