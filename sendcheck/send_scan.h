#pragma once
// What the send checks learn from reading the outgoing message: Gmail recipients, attachments,
// the search words and the size. Every test here is a case-sensitive substring test on one line.
// The message is read in the host's code page, once: the header up to the subject first, then
// every line in one pass that answers all the rest.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sendcheck/ansi_lines.h"

namespace vlm {

struct TSendScan {
  bool ToGmail = false;               // some recipient line names a Gmail address
  bool HasAttachment = false;         // an attachment header or a "_MULTIPART_MIXED_" line was seen
  bool ArchiveToGmail = false;        // an attachment to Gmail is an archive
  bool BlockedToGmail = false;        // an attachment to Gmail has an extension Gmail refuses
  std::wstring AttachmentName;        // from the latest attachment header that carried a name
  std::size_t BodyStart = 0;          // the header/body separator line, 0 when there is none
  bool Found = false;                 // a search word stands on a line that counts
  bool AttachmentHeaderLine = false;  // a line is "Content-Disposition: attachment;" (any case)
  std::int64_t Size = 0;              // characters of the message with CR LF after every line
};

// Reads the header lines up to and including the subject, and the lines up to the first line
// shorter than two characters (BodyStart; 0 when there is none): sets ToGmail and returns the
// subject line with its continuation lines run together, in the code page (empty when there is
// no "Subject:" line). `lead` is the code page's lead bytes, looked up once for both scans.
std::string ScanHeader(std::string_view message, const TLeadBytes& lead, TSendScan& scan);

// The extension of a file name from its last dot, the dot included; empty when the name has no
// dot after its last path or drive separator.
std::wstring_view FileNameExtension(std::wstring_view name);

// Reads every line once, with `subject` (the decoded subject) counted as an extra line two lines
// after BodyStart (or after the last line):
// - from BodyStart on, the attachment headers: the name, HasAttachment and, for Gmail
//   recipients, the extension tests, up to the first attachment that Gmail would refuse;
// - from BodyStart to the first attachment header, the search words (empty ones are skipped;
//   with `skipQuoted` a line beginning with ">" or "|" does not count) and Becky!'s
//   "_MULTIPART_MIXED_" boundary, which ends the search and counts as an attachment;
// - on every line, AttachmentHeaderLine and Size.
void ScanMessage(std::string_view message, std::wstring_view subject,
                 const std::array<std::wstring_view, 3>& words, bool skipQuoted,
                 const TLeadBytes& lead, TSendScan& scan);

}  // namespace vlm
