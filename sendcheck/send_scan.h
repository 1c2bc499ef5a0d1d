#pragma once
// What the send checks learn from reading the outgoing message: Gmail recipients, attachments
// (and the member names of the archives among them), the search words and the size. The search
// words are case-sensitive substring tests on one line.
// The message is read in the host's code page, once: the header up to the subject first, then
// every line in one pass that answers all the rest.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sendcheck/ansi_lines.h"

namespace vlm {

struct TSendScan {
  // The "To:", "Cc:" and "Bcc:" fields of the header, each with its folded lines run together.
  // A Bcc: field counts whenever the outgoing text holds one; the host may leave it out.
  std::vector<std::string> RecipientFields;
  bool ToGmail = false;               // a recipient field names a Gmail address (set by the caller)
  bool HasAttachment = false;         // an attachment header or a "_MULTIPART_MIXED_" line was seen
  bool ArchiveToGmail = false;        // an attachment to Gmail is an archive Gmail may refuse
  std::wstring ArchiveName;           // the first such archive
  bool BlockedToGmail = false;        // an attachment to Gmail is, or holds, a file Gmail refuses
  std::wstring BlockedName;           // that attachment
  std::wstring BlockedMember;         // the member that Gmail refuses in it, empty for itself
  std::wstring AttachmentName;        // from the latest attachment header that carried a name
  std::size_t BodyStart = 0;          // the header/body separator line, 0 when there is none
  bool Found = false;                 // a search word stands on a line that counts
  bool AttachmentHeaderLine = false;  // a line is "Content-Disposition: attachment;" (any case)
  std::int64_t Size = 0;              // characters of the message with CR LF after every line
};

// Reads the header lines up to and including the subject, and the lines up to the first line
// shorter than two characters (BodyStart; 0 when there is none): collects RecipientFields from the
// lines before BodyStart and returns the subject line with its continuation lines run together, in
// the code page (empty when there is no "Subject:" line). `lead` is the code page's lead bytes,
// looked up once for both scans.
std::string ScanHeader(std::string_view message, const TLeadBytes& lead, TSendScan& scan);

// Whether a (decoded) recipient field holds a Gmail address: "@gmail." or "@googlemail.", whatever
// the case of the letters.
bool NamesGmailAddress(std::wstring_view field);

// The extension of a file name from its last dot, the dot included; empty when the name has no
// dot after its last path or drive separator.
std::wstring_view FileNameExtension(std::wstring_view name);

// Reads every line once, with `subject` (the decoded subject) counted as an extra line two lines
// after BodyStart (or after the last line):
// - from BodyStart on, the attachment headers: the name, HasAttachment and, for Gmail
//   recipients, the extension tests and the member names of ZIP and LZH archives (decoded from
//   the part's base64 lines), up to the first attachment that Gmail would refuse;
// - from BodyStart to the first attachment header, the search words (empty ones are skipped;
//   with `skipQuoted` a line beginning with ">", "|" or "＞" does not count, nor any line from the
//   signature ("-- ") or a forwarded or quoted original on) and Becky!'s
//   "_MULTIPART_MIXED_" boundary, which ends the search and counts as an attachment;
// - on every line, AttachmentHeaderLine and Size.
void ScanMessage(std::string_view message, std::wstring_view subject,
                 const std::array<std::wstring_view, 3>& words, bool skipQuoted,
                 const TLeadBytes& lead, TSendScan& scan);

}  // namespace vlm
