#include "received/winmail_expansion.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/ansi_text.h"
#include "base/files.h"
#include "base/host_lines.h"
#include "base/mapped_file.h"
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
#include "received/single_part_conversion.h"
#include "received/tnef_convert.h"
#include "received/work_files.h"

namespace vlm {
namespace {

void ShowStatus(const TBeckyAPI& host, const wchar_t* text) {
  host.SetMessageText(nullptr, ToAnsi(text).c_str());
}

// A line that opens a part: the delimiter, then nothing but blanks (transport padding).
bool IsPartDelimiter(std::string_view line, std::string_view delimiter) {
  if (!StartsWith(line, delimiter)) return false;
  const std::string_view rest = line.substr(delimiter.size());
  return rest.find_first_not_of(" \t") == std::string_view::npos;
}

// A winmail.dat: typed application/ms-tnef, or named winmail.dat whatever its type says (some
// gateways send it as application/octet-stream).
bool IsTnefPart(const TLineList& header, size_t headerEnd) {
  const TContentType type = HeaderContentType(header, headerEnd);
  if (type.Type == "application/ms-tnef" || type.Type == "application/vnd.ms-tnef") return true;
  const auto named = [](const std::optional<std::string>& name) {
    return name && EqualsIgnoringAsciiCase(*name, "winmail.dat");
  };
  if (named(type.Parameter("name"))) return true;
  const auto disposition = HeaderField(header, headerEnd, "Content-Disposition");
  return disposition && named(ParseContentType("x/" + *disposition).Parameter("filename"));
}

// Whether the message shows a text of its own: it is text, or one of its own parts is (a choice
// of alternatives counts as one). A winmail.dat's text body would only repeat it.
bool HasTextPart(const TMessageView& message) {
  if (message.Type.Type.empty() || message.Type.Type.starts_with("text/")) return true;
  if (message.Boundary.empty()) return false;
  const std::string delimiter = "--" + message.Boundary;
  const TLineList& lines = message.Lines;
  for (size_t at = message.HeaderEnd + 1; at < lines.size(); ++at) {
    if (!IsPartDelimiter(lines[at], delimiter)) continue;
    size_t end = at + 1;
    while (end < lines.size() && !lines[end].empty() && !IsPartDelimiter(lines[end], delimiter))
      ++end;
    const TLineList header(lines.begin() + static_cast<std::ptrdiff_t>(at + 1),
                           lines.begin() + static_cast<std::ptrdiff_t>(end));
    const std::string type = HeaderContentType(header, header.size()).Type;
    if (type.empty() || type == "text/plain" || type == "text/html" ||
        type == "multipart/alternative")
      return true;
    at = end;
  }
  return false;
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
    if (partHeaderEnd != kNoLine && IsTnefPart(header, partHeaderEnd)) {
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

// One part the winmail.dat gave: a file as its base64 text, or a forwarded message as its text.
struct TExpandedPart {
  std::string Name;         // in the code page, for the part's headers
  std::string Type;         // the whole Content-Type value
  std::string EncodedFile;  // the host's work file with the file's base64 text, checked
  std::unique_ptr<TMappedFile> Message;
};

// The host's base64 text of `input` in a work file of its own, checked and not kept mapped.
std::string EncodedWorkFile(const TBeckyAPI& host, const std::string& input, TWorkFiles& files) {
  std::string output = HostTempFile(host, "bin", files);
  HostEncode(host, output, input).reset();
  return output;
}

// Extracts what the winmail.dat carries into the work folder and readies each file as a part;
// every file written, even by a conversion that failed halfway, goes to `files`. Empty when the
// winmail.dat holds nothing to add.
std::vector<TExpandedPart> ExtractParts(const TMailTools& tools, const std::string& tnefFile,
                                        const std::wstring& folder, bool withText,
                                        TWorkFiles& files) {
  const TBeckyAPI& host = tools.Host;
  std::vector<std::wstring> names;
  const auto registerNames = [&] {
    for (const std::wstring& name : names) files.Add(FileInFolder(FilePath(folder), name));
  };
  TTNEFConvert converter(HostPath(tnefFile));
  converter.SetLongFileNames(tools.LongFileNames);
  converter.SetBody(tools.TnefBody, withText);
  converter.SetTypeOf([&tools](const std::wstring& name, const std::string& mimeTag) {
    return MimeTypeForName(tools, name, mimeTag);
  });
  try {
    converter.Convert(names, FilePath(folder));
  } catch (...) {
    registerNames();
    throw;
  }
  registerNames();
  // Each file is encoded once, into a work file of its own. The texts are mapped again one at a
  // time while the message is written: mapped all together, they would sit in memory beside
  // the host's message and the new one.
  std::vector<TExpandedPart> parts;
  for (size_t i = 0; i < names.size(); ++i) {
    TExpandedPart part;
    const std::string& type = converter.ContentTypes()[i];
    part.Name = AnsiFileName(names[i]);
    part.Type = type.empty() ? MimeTypeForName(tools, names[i], converter.MimeTags()[i]) : type;
    if (type == "message/rfc822")
      part.Message = std::make_unique<TMappedFile>(FileInFolder(FilePath(folder), names[i]));
    else
      part.EncodedFile =
          EncodedWorkFile(host, HostReadablePath(host, folder, names[i], files), files);
    parts.push_back(std::move(part));
  }
  return parts;
}

void WriteParts(TLineWriter& out, std::string_view boundary,
                const std::vector<TExpandedPart>& parts) {
  for (const TExpandedPart& part : parts) {
    if (part.Message)
      WriteMessagePart(out, boundary, part.Name,
                       std::string_view(part.Message->Data(), part.Message->Size()));
    else
      WriteAttachmentPart(out, boundary, part.Type, part.Name,
                          THostBase64(HostPath(part.EncodedFile)).Text());
  }
}

// The base64 lines [first, end) of `lines` decoded into a host work file; nothing when they are
// no clean base64 or decode to nothing.
std::optional<std::string> DecodeWinmail(const TBeckyAPI& host, std::string_view source,
                                         const TLineList& lines, size_t first, size_t end,
                                         TWorkFiles& files) {
  // Base64 decoders skip blank lines; so do we.
  while (first < end && lines[first].empty()) ++first;
  while (end > first && lines[end - 1].empty()) --end;
  TBase64Count count;
  for (size_t i = first; i < end; ++i) count.Add(lines[i]);
  const auto tnefSize = count.DecodedSize();
  if (!tnefSize || *tnefSize == 0) return std::nullopt;
  const std::string base64File = HostTempFile(host, "bin", files);
  const std::string tnefFile = HostTempFile(host, "dat", files);
  // The base64 lines as they stand in the source, breaks included: the decoder skips them.
  const std::string_view firstLine = lines[first], lastLine = lines[end - 1];
  WriteWholeFile(
      HostPath(base64File),
      source.substr(static_cast<size_t>(firstLine.data() - source.data()),
                    static_cast<size_t>(lastLine.data() + lastLine.size() - firstLine.data())));
  HostDecode(host, tnefFile, base64File, *tnefSize);
  return tnefFile;
}

// The shared folder the attachments are extracted into, the host's temporary folder and "Velmra",
// made when it is missing.
std::wstring MakeWorkFolder(const TBeckyAPI& host) {
  std::wstring folder = FromAnsi(HostText(host.GetTempFolder()));
  if (folder.empty()) throw EReceivedMail("the host has no temporary folder");
  constexpr wchar_t separator = std::filesystem::path::preferred_separator;
  if (folder.back() != L'\\' && folder.back() != L'/') folder += separator;
  folder += L"Velmra";
  folder += separator;
  std::error_code error;
  std::filesystem::create_directories(FilePath(folder), error);
  if (error) throw EReceivedMail("cannot create the work folder");
  return folder;
}

// Hands back the new message that `write` writes with `parts`. The parts (forwarded messages
// stay mapped) are let go once they are in the host's buffer, before the host takes its copy.
void HandBackExpanded(const TBeckyAPI& host, const char* mail, std::vector<TExpandedPart>& parts,
                      const std::function<void(TLineWriter&)>& write) {
  const auto text = WriteHostText(host, write);
  parts.clear();
  HandBack(host, mail, *text);
}

// A message that is only a winmail.dat becomes multipart/mixed: the winmail.dat its first part,
// what it carries the parts after it.
std::wstring ExpandWholeMessage(const TMailTools& tools, const char* mail,
                                const TMessageView& message, TWorkFiles& files) {
  const TBeckyAPI& host = tools.Host;
  const size_t headerEnd = message.HeaderEnd;
  const bool base64 = EqualsIgnoringAsciiCase(
      HeaderField(message.Lines, headerEnd, "Content-Transfer-Encoding").value_or(""), "base64");
  if (!base64 || !IsWellFormedHeader(message.Lines, headerEnd)) return kUnsupportedWinmailText;
  const auto tnefFile =
      DecodeWinmail(host, message.Text, message.Lines, headerEnd + 1, message.Lines.size(), files);
  if (!tnefFile) return kExpandFailedText;
  std::vector<TExpandedPart> parts =
      ExtractParts(tools, *tnefFile, MakeWorkFolder(host), true, files);
  if (parts.empty()) return kNothingToExpandText;
  HandBackExpanded(host, mail, parts, [&](TLineWriter& out) {
    WriteAsMultipart(
        out, tools, message, kMarkerExpanded,
        [&](TLineWriter& more, const std::string& boundary) { WriteParts(more, boundary, parts); });
  });
  return kExpandedText;
}

// Hands back the source with what the winmail.dat carries added, and gives the status text to
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
  if (!type.IsMultipart() && IsTnefPart(lines, headerEnd))
    return ExpandWholeMessage(tools, mail, message, files);
  if (type.IsMultipart() && type.Type != "multipart/mixed")
    return UnwritableMultipartText(type.Type);
  const std::string& boundary = message.Boundary;
  const auto part = FindTnefPart(message);
  if (!part || !part->Base64) return kUnsupportedWinmailText;
  const size_t closing = FindClosingDelimiter(lines, boundary);
  if (closing == kNoLine || closing < part->TypeLine) return kUnsupportedWinmailText;
  const auto tnefFile = DecodeWinmail(host, source, lines, part->TextFirst, part->TextEnd, files);
  if (!tnefFile) return kExpandFailedText;
  std::vector<TExpandedPart> parts =
      ExtractParts(tools, *tnefFile, MakeWorkFolder(host), !HasTextPart(message), files);
  if (parts.empty()) return kNothingToExpandText;
  HandBackExpanded(host, mail, parts, [&](TLineWriter& out) {
    WriteMarkedHeader(out, message, headerEnd, kMarkerExpanded);
    out.Bytes(message.Span(headerEnd, closing));
    WriteParts(out, boundary, parts);
    out.Bytes(message.Span(closing, lines.size()));
  });
  return kExpandedText;
}

}  // namespace

bool HasWinmailPart(const TMailTools& tools, const char* mail) {
  const TBeckyAPI& host = tools.Host;
  if ((host.GetStatus(mail) & kMailHasAttachments) == 0) return false;
  const std::string header(HostText(host.GetHeader(mail)));
  const TLineList headerLines = SplitLines(header);
  if (HasMarker(headerLines, headerLines.size(), kMarkerExpanded)) return false;
  // The host's own text, not a copy: the message can be tens of megabytes.
  const TMessageView message = ViewMessage(HostText(host.GetSource(mail)));
  if (message.HeaderEnd == kNoLine) return false;
  if (!message.Type.IsMultipart()) return IsTnefPart(message.Lines, message.HeaderEnd);
  return FindTnefPart(message).has_value();
}

void ExpandWinmail(const TMailTools& tools, const char* mail) {
  const TBeckyAPI& host = tools.Host;
  if ((host.GetStatus(mail) & kMailHasAttachments) == 0) return;
  ShowStatus(host, kExpandingText);
  std::wstring status;
  try {
    TWorkFiles files;  // removed once the message is handed back, or the expansion failed
    // The host's own text, not a copy: the message can be tens of megabytes.
    status = ExpandSource(tools, mail, HostText(host.GetSource(mail)), files);
  } catch (const ETNEFLimit&) {
    status = kWinmailTooLargeText;
  } catch (const ETNEFNesting&) {
    status = kWinmailTooDeepText;
  } catch (const std::exception&) {
    status = kExpandFailedText;
  }
  ShowStatus(host, status.c_str());
}

}  // namespace vlm
