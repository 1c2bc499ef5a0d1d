#include "received/winmail_expansion.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/ansi_text.h"
#include "received/attachment_file_name.h"
#include "received/mime_rules.h"
#include "received/tnef_convert.h"
#include "received/work_files.h"
#include "base/text.h"

namespace vlm {
namespace {

constexpr std::uint32_t kHasAttachments = 8;
constexpr std::string_view kTnefContentType = "Content-Type: application/ms-tnef;";
constexpr std::string_view kCorrelator = "X-MS-TNEF-Correlator";
constexpr std::string_view kBase64Encoding = "Content-Transfer-Encoding: base64";
// Outlook writes the winmail.dat part's header as the Content-Type line, its name parameter, the
// transfer encoding and the disposition with its filename parameter, then the empty line.
constexpr size_t kTnefHeaderLines = 5;

void ShowStatus(const TBeckyAPI& host, const wchar_t* text) {
  host.SetMessageText(nullptr, ToAnsi(text).c_str());
}

bool HasCorrelator(const TLineList& header) {
  for (const std::string_view line : header)
    if (StartsWith(line, kCorrelator)) return true;
  return false;
}

size_t FindTnefPart(const TLineList& lines) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (EqualsIgnoringAsciiCase(lines[i], kTnefContentType)) return i;
  return kNoLine;
}

// The lines of the winmail.dat part's base64 text, [first, end). Nothing when the part is not
// laid out as Outlook writes it: a part with another header, or another encoding, would not give
// the winmail.dat's own bytes.
struct TLineRange {
  size_t First;
  size_t End;
};
std::optional<TLineRange> WinmailBase64(const TLineList& lines, size_t tnefLine,
                                        std::string_view boundary) {
  const size_t first = tnefLine + kTnefHeaderLines + 1;
  if (first >= lines.size() || !lines[first - 1].empty()) return std::nullopt;
  bool base64 = false;
  for (size_t i = tnefLine + 1; i < first - 1; ++i) {
    if (lines[i].empty()) return std::nullopt;
    if (EqualsIgnoringAsciiCase(lines[i], kBase64Encoding)) base64 = true;
  }
  if (!base64) return std::nullopt;
  const std::string nextPart = "--" + std::string(boundary);
  size_t end = first;
  while (end < lines.size() && !lines[end].empty() && !StartsWith(lines[end], nextPart)) ++end;
  if (end == first) return std::nullopt;
  return TLineRange{first, end};
}

// The shared folder the attachments are extracted into: the host's temporary folder and "Velmra".
std::wstring WorkFolder(const TBeckyAPI& host) {
  std::wstring folder = FromAnsi(HostText(host.GetTempFolder()));
  if (folder.empty()) throw EReceivedMail("the host has no temporary folder");
  constexpr wchar_t separator = std::filesystem::path::preferred_separator;
  if (folder.back() != L'\\' && folder.back() != L'/') folder += separator;
  return folder + L"Velmra" + separator;
}

// The extracted file as a path the host can open. A name with characters outside the code page
// has no such path, so the file is copied to a work file the host names.
std::string HostReadablePath(const TBeckyAPI& host, const std::wstring& folder,
                             const std::wstring& name) {
  if (auto path = ToAnsiExact(folder + name)) return *path;
  const std::string copy = HostTempFile(host, "dat");
  std::error_code error;
  std::filesystem::copy_file(FileInFolder(WidePath(folder), name), HostPath(copy),
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) throw EReceivedMail("cannot copy an extracted file");
  return copy;
}

// About how many bytes the attachment parts of these files take, so that the new message is
// built in one buffer instead of one that is copied each time it grows.
std::uint64_t ExpectedPartsSize(const std::wstring& folder,
                                const std::vector<std::wstring>& names) {
  std::uint64_t size = 0;
  for (const std::wstring& name : names) {
    std::error_code error;
    const std::uint64_t bytes =
        std::filesystem::file_size(FileInFolder(WidePath(folder), name), error);
    const std::uint64_t base64 = error ? 0 : (bytes + 2) / 3 * 4;
    size += base64 + base64 / 38 + 4 + 256 + 2 * name.size() * 2;  // line breaks every 76, headers
  }
  return size;
}

// The source with the winmail.dat's attachments added, or nothing when the message stays as it
// is. Raises EReceivedMail or ETNEFConvert on failure.
std::optional<std::string> ExpandedSource(const TMailTools& tools, const std::string& source) {
  const TBeckyAPI& host = tools.Host;
  const TLineList lines = SplitLines(source);
  const size_t tnefLine = FindTnefPart(lines);
  if (tnefLine == kNoLine) return std::nullopt;
  const std::string boundary = MessageBoundary(lines);
  if (boundary.empty()) return std::nullopt;
  const size_t closing = FindClosingDelimiter(lines, boundary);
  if (closing == kNoLine || closing < tnefLine) return std::nullopt;
  const auto range = WinmailBase64(lines, tnefLine, boundary);
  if (!range) return std::nullopt;
  const TLineList base64(lines.begin() + static_cast<std::ptrdiff_t>(range->First),
                         lines.begin() + static_cast<std::ptrdiff_t>(range->End));
  const auto tnefSize = Base64DecodedSize(base64);
  if (!tnefSize || *tnefSize == 0) return std::nullopt;

  const std::string base64File = HostTempFile(host, "bin");
  const std::string tnefFile = HostTempFile(host, "dat");
  const std::wstring folder = WorkFolder(host);
  std::error_code error;
  std::filesystem::create_directories(WidePath(folder), error);
  if (error) throw EReceivedMail("cannot create the work folder");
  {
    TLineWriter text;
    text.Lines(base64, 0, base64.size());
    WriteWholeFile(HostPath(base64File), text.Text());
  }
  HostDecode(host, tnefFile, base64File, *tnefSize);

  std::vector<std::wstring> names;
  if (!TTNEFConvert(HostPath(tnefFile)).Convert(names, WidePath(folder)) || names.empty())
    return std::nullopt;

  TLineWriter out;
  out.Reserve(source.size() + ExpectedPartsSize(folder, names));
  const size_t headerEnd = HeaderEnd(lines);
  out.Lines(lines, 0, headerEnd);
  out.Line(MarkerLine(kMarkerExpanded));
  out.Lines(lines, headerEnd, closing);
  for (const std::wstring& name : names) {
    const std::string encoded = HostEncode(host, base64File, HostReadablePath(host, folder, name));
    WriteAttachmentPart(out, boundary, MimeTypeForName(tools, name), AnsiFileName(name),
                        SplitLines(encoded));
  }
  out.Line(ClosingDelimiter(boundary));
  out.Lines(lines, closing + 1, lines.size());
  return out.Take();
}

}  // namespace

bool HasWinmailPart(const TMailTools& tools, const char* mail) {
  const TBeckyAPI& host = tools.Host;
  if ((host.GetStatus(mail) & kHasAttachments) == 0) return false;
  const std::string header(HostText(host.GetHeader(mail)));
  const TLineList headerLines = SplitLines(header);
  if (HasMarker(headerLines, headerLines.size(), kMarkerExpanded)) return false;
  if (!HasCorrelator(headerLines)) return false;
  const std::string source(HostText(host.GetSource(mail)));
  return FindTnefPart(SplitLines(source)) != kNoLine;
}

void ExpandWinmail(const TMailTools& tools, const char* mail) {
  const TBeckyAPI& host = tools.Host;
  if ((host.GetStatus(mail) & kHasAttachments) == 0) return;
  const std::string header(HostText(host.GetHeader(mail)));
  if (!HasCorrelator(SplitLines(header))) return;
  ShowStatus(host, kExpandingText);
  const wchar_t* ending = kExpandedText;
  try {
    const std::string source(HostText(host.GetSource(mail)));
    if (const auto expanded = ExpandedSource(tools, source)) HandBack(host, mail, *expanded);
  } catch (const std::exception&) {
    ending = kExpandFailedText;
  }
  ShowStatus(host, ending);
}

}  // namespace vlm
