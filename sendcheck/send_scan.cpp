#include "sendcheck/send_scan.h"

#include <algorithm>
#include <optional>

#include "base/ansi_text.h"
#include "base/extension_lists.h"
#include "base/host_lines.h"
#include "base/text.h"
#include "sendcheck/ansi_lines.h"

namespace vlm {
namespace {

constexpr std::string_view kAttachmentHeader = "Content-Disposition: attachment;";
constexpr std::wstring_view kFileNameQuoted = L"filename=\"";

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
      FinishAttachment();
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

  // The last line was an attachment header: it keeps the name read before.
  void End() {
    if (FNamePending) FinishAttachment();
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
    bool found = false;
    for (std::size_t i = 0; i < FWords.size() && !found; ++i)
      found = FWords[i] && line.Contains(*FWordSweeps[i], *FWords[i], limit);
    if (found && FSkipQuoted && (line.BeginsWith('>') || line.BeginsWith('|'))) found = false;
    if (found) {
      FScan.Found = true;
      FSearching = false;
    }
  }

  void FinishAttachment() {
    FNamePending = false;
    if (FScan.ToGmail) {
      const std::wstring_view extension = FileNameExtension(FScan.AttachmentName);
      if (ListContains(GmailBlockedExtensions, extension)) FScan.BlockedToGmail = true;
      if (ListContains(ArchiveExtensions, extension)) FScan.ArchiveToGmail = true;
    }
    // The first attachment that Gmail would refuse ends the attachment scan.
    if (FScan.BlockedToGmail || FScan.ArchiveToGmail) FAttachmentsOpen = false;
  }

  TSendScan& FScan;
  const bool FSkipQuoted;
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

}  // namespace

std::string ScanHeader(std::string_view message, const TLeadBytes& lead, TSendScan& scan) {
  const TNeedle to(L"To:"), cc(L"Cc:"), bcc(L"Bcc:"), gmail(L"@gmail."), subjectField(L"Subject:");
  TLineReader reader(message);
  std::string subject;
  bool inSubject = false, subjectDone = false, bodyFound = false;
  std::string_view bytes;
  for (std::size_t index = 0; (!subjectDone || !bodyFound) && reader.Next(bytes); ++index) {
    const TAnsiLine line(bytes, lead);
    if (!bodyFound && line.CharCount() < 2) {
      scan.BodyStart = index;
      bodyFound = true;
    }
    if (subjectDone) continue;
    if (inSubject) {
      if (bytes.starts_with(' '))
        subject += bytes;
      else
        subjectDone = true;
      continue;
    }
    // "Reply-To:" and "In-Reply-To:" count as recipient lines too: the test is a plain substring.
    if ((to.In(line) || cc.In(line) || bcc.In(line)) && gmail.In(line)) scan.ToGmail = true;
    if (subjectField.In(line)) {
      subject = bytes;
      inSubject = true;
    }
  }
  return subject;
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
    const TAnsiLine line(bytes, lead);
    pass.Visit(TLine{&line, {}});
  }
  // A message of fewer lines gets the subject after its last line.
  if (!subjectSeen) pass.Visit(TLine{nullptr, subject});
  pass.End();
}

}  // namespace vlm
