#include "sendcheck/send_scan.h"

#include "base/extension_lists.h"

namespace vlm {
namespace {

constexpr std::wstring_view kAttachmentHeader = L"Content-Disposition: attachment;";
constexpr std::wstring_view kFileNameQuoted = L"filename=\"";

bool IsRecipientLine(const MessageLine& line) {
  return line.Contains(L"To:") || line.Contains(L"Cc:") || line.Contains(L"Bcc:");
}

// The quoted name on the line after an attachment header; nothing when it carries none.
bool ReadQuotedFileName(const MessageLine& messageLine, std::wstring& name) {
  const std::size_t at = messageLine.find(kFileNameQuoted);
  if (at == MessageLine::npos) return false;
  const std::wstring line = messageLine.ToWide();
  const std::wstring_view rest = std::wstring_view(line).substr(at + kFileNameQuoted.size());
  const std::size_t close = rest.find(L'"');
  // A name without its closing quote reads as empty.
  name = close == std::wstring_view::npos ? std::wstring() : std::wstring(rest.substr(0, close));
  return true;
}

}  // namespace

std::wstring ScanHeader(const SendLines& lines, SendScan& scan) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const MessageLine line = lines[i];
    // "Reply-To:" and "In-Reply-To:" count as recipient lines too: the test is a plain substring.
    if (IsRecipientLine(line) && line.Contains(L"@gmail.")) scan.ToGmail = true;
    if (!line.Contains(L"Subject:")) continue;
    std::wstring subject = line.ToWide();
    for (++i; i < lines.size() && lines[i].BeginsWith(L" "); ++i) subject += lines[i].ToWide();
    return subject;
  }
  return {};
}

std::size_t FindBodyStart(const SendLines& lines) {
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
    if (!lines[i].Contains(kAttachmentHeader)) continue;
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
    const MessageLine line = lines[i];
    // Becky!'s boundary of a multipart/mixed message: the message carries attachments.
    if (line.Contains(L"_MULTIPART_MIXED_")) {
      scan.HasAttachment = true;
      return;
    }
    for (const std::wstring_view word : words) {
      if (!word.empty() && line.Contains(word)) {
        scan.Found = true;
        break;
      }
    }
    if (scan.Found && skipQuoted && (line.BeginsWith(L">") || line.BeginsWith(L"|")))
      scan.Found = false;
    if (scan.Found) return;
  }
}

bool HasAttachmentHeaderLine(const SendLines& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].EqualsIgnoringCase(kAttachmentHeader)) return true;
  return false;
}

std::int64_t MessageSize(const SendLines& lines) {
  std::int64_t size = 0;
  for (std::size_t i = 0; i < lines.size(); ++i)
    size += static_cast<std::int64_t>(lines[i].size()) + 2;
  return size;
}

}  // namespace vlm
