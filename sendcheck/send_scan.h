#pragma once
// What the send checks learn from reading the outgoing message: Gmail recipients, attachments and
// the search words. Every test here is a case-sensitive substring test on one line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sendcheck/message_lines.h"

namespace vlm {

struct SendScan {
  bool ToGmail = false;         // some recipient line names a Gmail address
  bool HasAttachment = false;   // an attachment header or a "_MULTIPART_MIXED_" line was seen
  bool ArchiveToGmail = false;  // an attachment to Gmail is an archive
  bool BlockedToGmail = false;  // an attachment to Gmail has an extension Gmail refuses
  std::wstring AttachmentName;  // from the latest attachment header that carried a name
  std::size_t BodyStart = 0;    // the header/body separator line, 0 when there is none
  std::size_t SearchEnd = 0;    // the last line searched for the search words
  bool Found = false;           // a search word stands on a line that counts
};

// Reads the header lines up to and including the subject: sets ToGmail and returns the subject
// line with its continuation lines run together (empty when there is no "Subject:" line).
std::wstring ScanHeader(const SendLines& lines, SendScan& scan);

// The index of the first line shorter than two characters, or 0 when there is none.
std::size_t FindBodyStart(const SendLines& lines);

// The extension of a file name from its last dot, the dot included; empty when the name has no
// dot after its last path or drive separator.
std::wstring_view FileNameExtension(std::wstring_view name);

// Reads the attachment headers from BodyStart on: the name, HasAttachment, SearchEnd and, for
// Gmail recipients, the extension tests. Stops at the first attachment that Gmail would refuse.
void ScanAttachments(const SendLines& lines, SendScan& scan);

// Looks for the search words from BodyStart to SearchEnd and sets Found. Empty words are skipped;
// with `skipQuoted` a line beginning with ">" or "|" does not count.
void SearchWords(const SendLines& lines, const std::array<std::wstring_view, 3>& words,
                 bool skipQuoted, SendScan& scan);

// True when some line is "Content-Disposition: attachment;" as a whole, in any letter case.
bool HasAttachmentHeaderLine(const SendLines& lines);

// The characters of the whole message with CR LF after every line, the last one included.
std::int64_t MessageSize(const SendLines& lines);

}  // namespace vlm
