#include "received/winmail_expansion.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/ansi_text.h"
#include "base/host_lines.h"
#include "base/text.h"
#include "received/attachment_file_name.h"
#include "received/attachment_part.h"
#include "received/content_type.h"
#include "received/header_fields.h"
#include "received/host_base64.h"
#include "received/host_hand_back.h"
#include "received/marker_field.h"
#include "received/message_view.h"
#include "received/received_mail_error.h"
#include "received/tnef_convert.h"
#include "base/files.h"
#include "received/work_files.h"

namespace vlm {
namespace {

constexpr std::string_view kCorrelator = "X-MS-TNEF-Correlator";

void ShowStatus(const TBeckyAPI& host, const wchar_t* text) {
  host.SetMessageText(nullptr, ToAnsi(text).c_str());
}

bool HasCorrelator(const TLineList& header) {
  for (const std::string_view line : header)
    if (StartsWith(line, kCorrelator)) return true;
  return false;
}

// A line that opens a part: the delimiter, then nothing but blanks (transport padding).
bool IsPartDelimiter(std::string_view line, std::string_view delimiter) {
  if (!StartsWith(line, delimiter)) return false;
  const std::string_view rest = line.substr(delimiter.size());
  return rest.find_first_not_of(" \t") == std::string_view::npos;
}

// The winmail.dat part among the message's own parts (not parts nested deeper): where its
// Content-Type field starts, whether its transfer encoding is base64, and where its base64 lines
// are.
struct TTnefPart {
  size_t TypeLine = kNoLine;
  bool Base64 = false;
  size_t TextFirst = 0;  // lines [TextFirst, TextEnd) of the message
  size_t TextEnd = 0;
};

std::optional<TTnefPart> FindTnefPart(const TMessageView& message) {
  const TLineList& lines = message.Lines;
  const std::string& boundary = message.Boundary;
  const size_t headerEnd = message.HeaderEnd;
  if (boundary.empty() || headerEnd == kNoLine) return std::nullopt;
  const std::string delimiter = "--" + std::string(boundary);
  const std::string closing = ClosingDelimiter(boundary);
  const auto endsPart = [&](std::string_view line) {
    return IsPartDelimiter(line, delimiter) || StartsWith(line, closing);
  };
  size_t at = headerEnd + 1;
  while (at < lines.size() && !IsPartDelimiter(lines[at], delimiter)) ++at;  // the preamble
  while (at < lines.size() && IsPartDelimiter(lines[at], delimiter)) {
    const size_t first = at + 1;
    size_t end = first;
    while (end < lines.size() && !endsPart(lines[end])) ++end;
    // The part's header, up to and with its empty line: the body can be megabytes.
    size_t bodyFirst = first;
    while (bodyFirst < end && !lines[bodyFirst].empty()) ++bodyFirst;
    const TLineList header(
        lines.begin() + static_cast<std::ptrdiff_t>(first),
        lines.begin() + static_cast<std::ptrdiff_t>(std::min(bodyFirst + 1, end)));
    const size_t partHeaderEnd = HeaderEnd(header);
    if (partHeaderEnd != kNoLine &&
        HeaderContentType(header, partHeaderEnd).Type == "application/ms-tnef") {
      TTnefPart found;
      found.TypeLine = first + FindHeaderField(header, partHeaderEnd, "Content-Type").First;
      found.Base64 = EqualsIgnoringAsciiCase(
          HeaderField(header, partHeaderEnd, "Content-Transfer-Encoding").value_or(""), "base64");
      found.TextFirst = bodyFirst + 1;
      found.TextEnd = end;
      return found;
    }
    at = end;
  }
  return std::nullopt;
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
                             const std::wstring& name, TWorkFiles& files) {
  if (auto path = ToAnsiExact(folder + name)) return *path;
  const std::string copy = HostTempFile(host, "dat", files);
  // Copied through streams: the runtime's copy_file refuses to replace the empty file the host
  // made under that name.
  std::ifstream in(FileInFolder(FilePath(folder), name), std::ios::binary);
  std::ofstream out(HostPath(copy), std::ios::binary | std::ios::trunc);
  if (in && out) out << in.rdbuf();
  out.close();
  if (!in || !out) throw EReceivedMail("cannot copy an extracted file");
  return copy;
}

// Extracts the attachments into the work folder; every file written, even by a conversion that
// failed halfway, goes to `files`. False when the winmail.dat holds no attachment.
bool ExtractAttachments(const TMailTools& tools, const std::string& tnefFile,
                        const std::wstring& folder, std::vector<std::wstring>& names,
                        std::vector<std::string>& mimeTags, TWorkFiles& files) {
  const auto registerNames = [&] {
    for (const std::wstring& name : names) files.Add(FileInFolder(FilePath(folder), name));
  };
  TTNEFConvert converter(HostPath(tnefFile));
  converter.SetLongFileNames(tools.LongFileNames);
  bool converted = false;
  try {
    converted = converter.Convert(names, FilePath(folder));
  } catch (...) {
    registerNames();
    throw;
  }
  registerNames();
  mimeTags = converter.MimeTags();
  return converted && !names.empty();
}

// Hands back the source with the winmail.dat's attachments added, and gives the status text to
// show: the expansion's, or the reason the message stays as it is. Every file it writes goes to
// `files`. Raises EReceivedMail or ETNEFConvert on failure.
std::wstring ExpandSource(const TMailTools& tools, const char* mail, std::string_view source,
                          TWorkFiles& files) {
  const TBeckyAPI& host = tools.Host;
  const TMessageView message = ViewMessage(source);
  const TLineList& lines = message.Lines;
  const size_t headerEnd = message.HeaderEnd;
  if (headerEnd == kNoLine) return kUnsupportedWinmailText;
  const TContentType& type = message.Type;
  if (type.IsMultipart() && type.Type != "multipart/mixed")
    return UnwritableMultipartText(type.Type);
  const std::string& boundary = message.Boundary;
  const auto part = FindTnefPart(message);
  if (!part || !part->Base64) return kUnsupportedWinmailText;
  const size_t closing = FindClosingDelimiter(lines, boundary);
  if (closing == kNoLine || closing < part->TypeLine) return kUnsupportedWinmailText;
  // Base64 decoders skip blank lines; so do we.
  size_t textFirst = part->TextFirst, textEnd = part->TextEnd;
  while (textFirst < textEnd && lines[textFirst].empty()) ++textFirst;
  while (textEnd > textFirst && lines[textEnd - 1].empty()) --textEnd;
  TBase64Count count;
  for (size_t i = textFirst; i < textEnd; ++i) count.Add(lines[i]);
  const auto tnefSize = count.DecodedSize();
  if (!tnefSize || *tnefSize == 0) return kExpandFailedText;

  const std::string base64File = HostTempFile(host, "bin", files);
  const std::string tnefFile = HostTempFile(host, "dat", files);
  const std::wstring folder = WorkFolder(host);
  std::error_code error;
  std::filesystem::create_directories(FilePath(folder), error);
  if (error) throw EReceivedMail("cannot create the work folder");
  // The base64 lines as they stand in the source, breaks included: the decoder skips them.
  const std::string_view first = lines[textFirst], last = lines[textEnd - 1];
  WriteWholeFile(HostPath(base64File),
                 source.substr(static_cast<size_t>(first.data() - source.data()),
                               static_cast<size_t>(last.data() + last.size() - first.data())));
  HostDecode(host, tnefFile, base64File, *tnefSize);

  std::vector<std::wstring> names;
  std::vector<std::string> mimeTags;
  if (!ExtractAttachments(tools, tnefFile, folder, names, mimeTags, files))
    return kNothingToExpandText;

  // Each attachment is encoded once, into a work file of its own that stays mapped until the
  // message is handed back; the new message is then counted and written straight into the
  // buffer handed back, allocated once at its exact size.
  std::vector<std::unique_ptr<THostBase64>> encoded;
  encoded.reserve(names.size());
  for (const std::wstring& name : names)
    encoded.push_back(HostEncode(host, HostTempFile(host, "bin", files),
                                 HostReadablePath(host, folder, name, files)));
  const auto write = [&](TLineWriter& out) {
    WriteMarkedHeader(out, message, headerEnd, kMarkerExpanded);
    out.Bytes(message.Span(headerEnd, closing));
    for (size_t i = 0; i < names.size(); ++i)
      WriteAttachmentPart(out, boundary, MimeTypeForName(tools, names[i], mimeTags[i]),
                          AnsiFileName(names[i]), encoded[i]->Text());
    out.Bytes(message.Span(closing, lines.size()));
  };
  TLineWriter counter = TLineWriter::Counting();
  write(counter);
  const THostBuffer buffer(host, counter.Size() + 1);
  TLineWriter out(buffer.Data(), counter.Size());
  write(out);
  buffer.Data()[out.Size()] = '\0';
  encoded.clear();  // before the host copies the new message
  host.SetSource(mail, buffer.Data());
  return kExpandedText;
}

}  // namespace

bool HasWinmailPart(const TMailTools& tools, const char* mail) {
  const TBeckyAPI& host = tools.Host;
  if ((host.GetStatus(mail) & kMailHasAttachments) == 0) return false;
  const std::string header(HostText(host.GetHeader(mail)));
  const TLineList headerLines = SplitLines(header);
  if (HasMarker(headerLines, headerLines.size(), kMarkerExpanded)) return false;
  if (!HasCorrelator(headerLines)) return false;
  // The host's own text, not a copy: the message can be tens of megabytes.
  return FindTnefPart(ViewMessage(HostText(host.GetSource(mail)))).has_value();
}

void ExpandWinmail(const TMailTools& tools, const char* mail) {
  const TBeckyAPI& host = tools.Host;
  if ((host.GetStatus(mail) & kMailHasAttachments) == 0) return;
  const std::string header(HostText(host.GetHeader(mail)));
  if (!HasCorrelator(SplitLines(header))) return;
  ShowStatus(host, kExpandingText);
  std::wstring status;
  try {
    TWorkFiles files;  // removed once the message is handed back, or the expansion failed
    // The host's own text, not a copy: the message can be tens of megabytes.
    status = ExpandSource(tools, mail, HostText(host.GetSource(mail)), files);
  } catch (const ETNEFLimit&) {
    status = kWinmailTooLargeText;
  } catch (const std::exception&) {
    status = kExpandFailedText;
  }
  ShowStatus(host, status.c_str());
}

}  // namespace vlm
