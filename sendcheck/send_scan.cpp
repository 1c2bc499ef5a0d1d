#include "sendcheck/send_scan.h"

#include <algorithm>
#include <optional>

#include "base/ansi_text.h"
#include "base/extension_lists.h"
#include "base/host_lines.h"
#include "base/text.h"
#include "sendcheck/ansi_lines.h"
#include "sendcheck/archive_contents.h"
#include "sendcheck/part_body.h"

namespace vlm {
namespace {

constexpr std::string_view kAttachmentHeader = "Content-Disposition: attachment;";
constexpr std::wstring_view kFileNameQuoted = L"filename=\"";
constexpr wchar_t kFullWidthQuote = L'＞';
// Lines that begin the signature ("-- ") or a forwarded or quoted original, as mail programs
// write them.
constexpr std::array<std::string_view, 4> kQuotedRestMarkers = {
    "-- ", "-----Original Message-----", "---------- Forwarded message ---------",
    "-------- Original Message --------"};
// Gmail carries at most 25 MB; an archive beyond this is not read (and stays unknown). Of the
// archives read only the directory is decoded.
constexpr std::size_t kLargestArchiveRead = 32 * 1024 * 1024;

// A line of the message in the code page, or the decoded subject in wide text.
struct TLine {
  const TAnsiLine* Ansi = nullptr;
  std::wstring_view Wide;

  bool Contains(const TNeedle& needle) const { return Ansi ? needle.In(*Ansi) : needle.In(Wide); }
  // As Contains, with the sweep of the needle over the message for a line of the message.
  bool Contains(TNeedleSweep& sweep, const TNeedle& needle, std::size_t limit) const {
    return Ansi ? sweep.On(*Ansi, limit) : needle.In(Wide);
  }
  std::size_t CharCount() const { return Ansi ? Ansi->CharCount() : Wide.size(); }
  bool BeginsWith(char c) const {
    return Ansi ? Ansi->Bytes().starts_with(c) : Wide.starts_with(static_cast<wchar_t>(c));
  }
  // Equal to ASCII `text` as a whole, ignoring the case of the letters A to Z.
  bool EqualsIgnoringCase(std::string_view text) const {
    // Units beyond ASCII compare as they are: a wide unit is never cut to a byte here.
    const auto lower = [](unsigned c) {
      return c < 0x80 ? static_cast<unsigned>(LowerAscii(static_cast<char>(c))) : c;
    };
    const std::size_t size = Ansi ? Ansi->Bytes().size() : Wide.size();
    if (size != text.size()) return false;
    for (std::size_t i = 0; i < size; ++i) {
      const unsigned c =
          Ansi ? static_cast<unsigned char>(Ansi->Bytes()[i]) : static_cast<unsigned>(Wide[i]);
      if (lower(c) != lower(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
  }
};

// The quoted name after `filename="` on a line; the name stays when the line carries none, and a
// name without its closing quote reads as empty.
void ReadQuotedFileName(const TLine& line, const TNeedle& fileNameQuoted, std::wstring& name) {
  if (!line.Ansi) {
    const std::size_t at = line.Wide.find(kFileNameQuoted);
    if (at == std::wstring_view::npos) return;
    const std::wstring_view rest = line.Wide.substr(at + kFileNameQuoted.size());
    const std::size_t close = rest.find(L'"');
    name = close == std::wstring_view::npos ? std::wstring() : std::wstring(rest.substr(0, close));
    return;
  }
  const std::optional<std::size_t> at = fileNameQuoted.FindIn(*line.Ansi);
  if (!at) return;
  const std::string_view rest = line.Ansi->Bytes().substr(*at + kFileNameQuoted.size());
  // A quote (0x22) is never the second byte of a two-byte character.
  const std::size_t close = rest.find('"');
  name = close == std::string_view::npos ? std::wstring() : FromAnsi(rest.substr(0, close));
}

// The pass of ScanMessage over every line, the decoded subject placed among them.
class TMessagePass {
 public:
  TMessagePass(std::string_view message, const std::array<std::wstring_view, 3>& words,
               bool skipQuoted, TSendScan& scan)
      : FScan(scan),
        FSkipQuoted(skipQuoted),
        FMessage(message),
        FMessageSize(message.size()),
        FHeaderSweep(FAttachmentHeader, message),
        FMultipartSweep(FMultipartMixed, message) {
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (words[i].empty()) continue;
      FWords[i].emplace(words[i]);
      FWordSweeps[i].emplace(*FWords[i], message);
    }
  }

  void Visit(const TLine& line) {
    FScan.Size += static_cast<std::int64_t>(line.CharCount()) + 2;
    if (!FScan.AttachmentHeaderLine && line.EqualsIgnoringCase(kAttachmentHeader))
      FScan.AttachmentHeaderLine = true;
    if (FIndex++ < FScan.BodyStart) return;
    if (FNamePending) {
      ReadQuotedFileName(line, FFileNameQuoted, FScan.AttachmentName);
      FinishAttachment(line.Ansi
                           ? static_cast<std::size_t>(line.Ansi->Bytes().data() - FMessage.data())
                           : std::string_view::npos);
    }
    const bool header =
        FAttachmentsOpen && line.Contains(FHeaderSweep, FAttachmentHeader, FMessageSize);
    if (FSearching) Search(line, SearchLimit(line));
    if (header) {
      FScan.HasAttachment = true;
      FSearching = false;  // the search ends with the first attachment header
      FNamePending = true;
    }
  }

  // Where the next line that needs more than counting may begin at the earliest, or nothing while
  // every line needs its visit. Once the search has ended, a line only counts in the size until
  // the next hit of the attachment header, unless it could still be the attachment header line in
  // another case: most of a message with attachments is their base64 lines.
  std::optional<std::size_t> CountOnlyBefore() const {
    if (FSearching || FNamePending) return std::nullopt;
    return FAttachmentsOpen ? FHeaderSweep.NextHit() : FMessageSize;
  }
  // The line size that still needs its visit while lines are only counted (0: none): once an
  // attachment was seen, whether a line is the header line no longer matters.
  std::size_t CountOnlyAvoidedSize() const {
    return FScan.HasAttachment || FScan.AttachmentHeaderLine ? 0 : kAttachmentHeader.size();
  }
  // Lines of 7-bit bytes passed over by the line reader.
  void Count(const TLineReader::TSkipped& lines) {
    FScan.Size += static_cast<std::int64_t>(lines.Bytes + 2 * lines.Lines);
    FIndex += lines.Lines;
  }

  // The last line was an attachment header: it keeps the name read before.
  void End() {
    if (FNamePending) FinishAttachment(std::string_view::npos);
  }

 private:
  // The search ends at the first attachment header: the search sweeps need look no further
  // than the next hit of the header sweep.
  std::size_t SearchLimit(const TLine& line) const {
    if (!line.Ansi || !FAttachmentsOpen) return FMessageSize;
    return std::min(FMessageSize, FHeaderSweep.NextHit() + kAttachmentHeader.size());
  }

  void Search(const TLine& line, std::size_t limit) {
    // Becky!'s boundary of a multipart/mixed message: the message carries attachments.
    if (line.Contains(FMultipartSweep, FMultipartMixed, limit)) {
      FScan.HasAttachment = true;
      FSearching = false;
      return;
    }
    // The signature and a forwarded or quoted original are not the writer's own words; the
    // subject (the one wide line) always is.
    if (FSkipQuoted && line.Ansi && !FQuotedRest && StartsQuotedRest(line)) FQuotedRest = true;
    if (FQuotedRest && line.Ansi) return;
    bool found = false;
    for (std::size_t i = 0; i < FWords.size() && !found; ++i)
      found = FWords[i] && line.Contains(*FWordSweeps[i], *FWords[i], limit);
    if (found && FSkipQuoted && IsQuotedLine(line)) found = false;
    if (found) {
      FScan.Found = true;
      FSearching = false;
    }
  }

  // A line quoting another message: ">", "|" or the full-width "＞" first.
  bool IsQuotedLine(const TLine& line) const {
    if (line.BeginsWith('>') || line.BeginsWith('|')) return true;
    if (!line.Ansi) return line.Wide.starts_with(kFullWidthQuote);
    return FFullWidthQuote && line.Ansi->Bytes().starts_with(*FFullWidthQuote);
  }

  // A line after which the rest of the body is not the writer's own.
  static bool StartsQuotedRest(const TLine& line) {
    for (const std::string_view marker : kQuotedRestMarkers)
      if (line.EqualsIgnoringCase(marker)) return true;
    return false;
  }

  // The attachment whose header ended at the line starting at `partAt` (npos when unknown).
  void FinishAttachment(std::size_t partAt) {
    FNamePending = false;
    if (!FScan.ToGmail) return;
    const std::wstring& name = FScan.AttachmentName;
    const std::wstring_view extension = FileNameExtension(name);
    if (ListContains(GmailBlockedExtensions, extension)) return Refuse({});
    const bool archive = ListContains(ArchiveExtensions, extension);
    if (!archive && !ReadableArchiveType(extension)) return;
    const TArchiveContents contents = ReadArchive(extension, partAt);
    if (!contents.RefusedMember.empty()) return Refuse(contents.RefusedMember);
    if (archive && !FScan.ArchiveToGmail) {
      FScan.ArchiveToGmail = true;
      FScan.ArchiveName = name;
    }
  }

  TArchiveContents ReadArchive(std::wstring_view extension, std::size_t partAt) const {
    if (partAt >= FMessage.size() || !ReadableArchiveType(extension)) return {};
    const auto body = TPartBody::Find(FMessage, partAt, kLargestArchiveRead);
    if (!body) return {};
    const TArchiveSource source{
        body->Size(), [&body](std::size_t at, std::size_t size) { return body->Read(at, size); }};
    return InspectArchive(extension, source);
  }

  // The first attachment that Gmail would refuse ends the attachment scan.
  void Refuse(const std::wstring& member) {
    FScan.BlockedToGmail = true;
    FScan.BlockedName = FScan.AttachmentName;
    FScan.BlockedMember = member;
    FAttachmentsOpen = false;
  }

  TSendScan& FScan;
  const bool FSkipQuoted;
  const std::string_view FMessage;
  // None in a code page without the character.
  const std::optional<std::string> FFullWidthQuote =
      ToAnsiExact(std::wstring_view(&kFullWidthQuote, 1));
  bool FQuotedRest = false;  // a signature or original was met: search words no longer count
  const TNeedle FAttachmentHeader{L"Content-Disposition: attachment;"};
  const TNeedle FFileNameQuoted{kFileNameQuoted};
  const TNeedle FMultipartMixed{L"_MULTIPART_MIXED_"};
  const std::size_t FMessageSize;
  TNeedleSweep FHeaderSweep;
  TNeedleSweep FMultipartSweep;
  std::array<std::optional<TNeedle>, 3> FWords;
  std::array<std::optional<TNeedleSweep>, 3> FWordSweeps;
  std::size_t FIndex = 0;
  bool FAttachmentsOpen = true;
  bool FSearching = true;
  bool FNamePending = false;
};

// "To:", "Cc:" or "Bcc:" at the start of a line, whatever the case of the field name.
bool IsRecipientField(std::string_view line) {
  for (const std::string_view field : {"to:", "cc:", "bcc:"})
    if (line.size() >= field.size() && EqualsIgnoringAsciiCase(line.substr(0, field.size()), field))
      return true;
  return false;
}

// One line of the header (or an empty view once the header has ended): a recipient field begins
// a new entry of RecipientFields, its folded continuation lines join the entry.
void ReadRecipientLine(std::string_view bytes, bool& inRecipients, TSendScan& scan) {
  const bool continued = bytes.starts_with(' ') || bytes.starts_with('\t');
  if (inRecipients && continued) scan.RecipientFields.back() += bytes;
  inRecipients = (inRecipients && continued) || IsRecipientField(bytes);
  if (inRecipients && !continued) scan.RecipientFields.emplace_back(bytes);
}

}  // namespace

std::string ScanHeader(std::string_view message, const TLeadBytes& lead, TSendScan& scan) {
  const TNeedle subjectField(L"Subject:");
  TLineReader reader(message);
  std::string subject;
  bool inSubject = false, subjectDone = false, bodyFound = false, inRecipients = false;
  std::string_view bytes;
  for (std::size_t index = 0; (!subjectDone || !bodyFound) && reader.Next(bytes); ++index) {
    const TAnsiLine line(bytes, lead, reader.LineIsAscii());
    if (!bodyFound && line.CharCount() < 2) {
      scan.BodyStart = index;
      bodyFound = true;
    }
    ReadRecipientLine(bodyFound ? std::string_view() : bytes, inRecipients, scan);
    if (subjectDone) continue;
    if (inSubject) {
      if (bytes.starts_with(' '))
        subject += bytes;
      else
        subjectDone = true;
      continue;
    }
    if (subjectField.In(line)) {
      subject = bytes;
      inSubject = true;
    }
  }
  return subject;
}

bool NamesGmailAddress(std::wstring_view field) {
  const std::wstring lower = LowerAscii(std::wstring(field));
  return lower.find(L"@gmail.") != std::wstring::npos ||
         lower.find(L"@googlemail.") != std::wstring::npos;
}

std::wstring_view FileNameExtension(std::wstring_view name) {
  const std::size_t at = name.find_last_of(L".\\:");
  if (at == std::wstring_view::npos || name[at] != L'.') return {};
  return name.substr(at);
}

void ScanMessage(std::string_view message, std::wstring_view subject,
                 const std::array<std::wstring_view, 3>& words, bool skipQuoted,
                 const TLeadBytes& lead, TSendScan& scan) {
  TMessagePass pass(message, words, skipQuoted, scan);
  const std::size_t subjectAt = scan.BodyStart + 2;
  TLineReader reader(message);
  std::string_view bytes;
  bool subjectSeen = false;
  for (std::size_t index = 0; reader.Next(bytes); ++index) {
    if (index == subjectAt) {
      pass.Visit(TLine{nullptr, subject});
      subjectSeen = true;
    }
    const TAnsiLine line(bytes, lead, reader.LineIsAscii());
    pass.Visit(TLine{&line, {}});
    if (const auto before = pass.CountOnlyBefore(); before && subjectSeen) {
      const TLineReader::TSkipped skipped =
          reader.SkipAsciiLines(*before, pass.CountOnlyAvoidedSize());
      pass.Count(skipped);
      index += skipped.Lines;
    }
  }
  // A message of fewer lines gets the subject after its last line.
  if (!subjectSeen) pass.Visit(TLine{nullptr, subject});
  pass.End();
}

}  // namespace vlm
