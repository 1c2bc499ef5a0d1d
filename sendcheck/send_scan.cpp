#include "sendcheck/send_scan.h"

#include "plugin/extension_lists.h"

namespace vlm {
namespace {

constexpr std::wstring_view kAttachmentHeader = L"Content-Disposition: attachment;";
constexpr std::wstring_view kFileNameQuoted = L"filename=\"";

bool Contains(std::wstring_view line, std::wstring_view text) {
  return line.find(text) != std::wstring_view::npos;
}

bool BeginsWith(std::wstring_view line, std::wstring_view text) {
  return line.substr(0, text.size()) == text;
}

wchar_t LowerAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? c - L'A' + L'a' : c;
}

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool IsRecipientLine(std::wstring_view line) {
  return Contains(line, L"To:") || Contains(line, L"Cc:") || Contains(line, L"Bcc:");
}

// The quoted name on the line after an attachment header; nothing when it carries none.
bool ReadQuotedFileName(std::wstring_view line, std::wstring& name) {
  const std::size_t at = line.find(kFileNameQuoted);
  if (at == std::wstring_view::npos) return false;
  const std::wstring_view rest = line.substr(at + kFileNameQuoted.size());
  const std::size_t close = rest.find(L'"');
  // A name without its closing quote reads as empty.
  name = close == std::wstring_view::npos ? std::wstring() : std::wstring(rest.substr(0, close));
  return true;
}

}  // namespace

std::wstring ScanHeader(const std::vector<std::wstring_view>& lines, SendScan& scan) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::wstring_view line = lines[i];
    // "Reply-To:" and "In-Reply-To:" count as recipient lines too: the test is a plain substring.
    if (IsRecipientLine(line) && Contains(line, L"@gmail.")) scan.ToGmail = true;
    if (!Contains(line, L"Subject:")) continue;
    std::wstring subject(line);
    for (++i; i < lines.size() && BeginsWith(lines[i], L" "); ++i) subject += lines[i];
    return subject;
  }
  return {};
}

std::size_t FindBodyStart(const std::vector<std::wstring_view>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].size() < 2) return i;
  return 0;
}

std::wstring_view FileNameExtension(std::wstring_view name) {
  const std::size_t at = name.find_last_of(L".\\:");
  if (at == std::wstring_view::npos || name[at] != L'.') return {};
  return name.substr(at);
}

void ScanAttachments(const SendLines& lines, SendScan& scan) {
  if (lines.size() == 0) return;
  scan.SearchEnd = lines.size() - 1;
  for (std::size_t i = scan.BodyStart; i < lines.size(); ++i) {
    if (!Contains(lines[i], kAttachmentHeader)) continue;
    // The header's last line has no next line to carry a name; the name then stays.
    if (i + 1 < lines.size()) ReadQuotedFileName(lines[i + 1], scan.AttachmentName);
    if (!scan.HasAttachment) {
      scan.HasAttachment = true;
      scan.SearchEnd = i;
    }
    if (scan.ToGmail) {
      const std::wstring_view extension = FileNameExtension(scan.AttachmentName);
      if (ListContains(GmailBlockedExtensions, extension)) scan.BlockedToGmail = true;
      if (ListContains(ArchiveExtensions, extension)) scan.ArchiveToGmail = true;
    }
    if (scan.BlockedToGmail || scan.ArchiveToGmail) return;
  }
}

void SearchWords(const SendLines& lines, const std::array<std::wstring_view, 3>& words,
                 bool skipQuoted, SendScan& scan) {
  scan.Found = false;
  for (std::size_t i = scan.BodyStart; i <= scan.SearchEnd && i < lines.size(); ++i) {
    const std::wstring_view line = lines[i];
    // Becky!'s boundary of a multipart/mixed message: the message carries attachments.
    if (Contains(line, L"_MULTIPART_MIXED_")) {
      scan.HasAttachment = true;
      return;
    }
    for (const std::wstring_view word : words) {
      if (!word.empty() && Contains(line, word)) {
        scan.Found = true;
        break;
      }
    }
    if (scan.Found && skipQuoted && (BeginsWith(line, L">") || BeginsWith(line, L"|")))
      scan.Found = false;
    if (scan.Found) return;
  }
}

bool HasAttachmentHeaderLine(const SendLines& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (EqualIgnoringCase(lines[i], kAttachmentHeader)) return true;
  return false;
}

std::int64_t MessageSize(const SendLines& lines) {
  std::int64_t size = 0;
  for (std::size_t i = 0; i < lines.size(); ++i)
    size += static_cast<std::int64_t>(lines[i].size()) + 2;
  return size;
}

}  // namespace vlm
