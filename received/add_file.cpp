#include "received/add_file.h"

#include <algorithm>
#include <optional>

#include "base/ansi_text.h"
#include "base/host_lines.h"
#include "received/attachment_file_name.h"
#include "received/attachment_part.h"
#include "received/content_type.h"
#include "received/header_fields.h"
#include "received/host_base64.h"
#include "received/host_hand_back.h"
#include "received/marker_field.h"
#include "received/message_view.h"
#include "received/work_files.h"

namespace vlm {
namespace {

constexpr size_t kMaxBoundaryLength = 70;

// How an addition ends: the new source when there is one, and the status text to show.
struct TAddition {
  std::optional<std::string> Source;
  std::wstring Status;
};

// The file to add: the host's path, the bare name for the part's headers and its MIME type.
struct TAddedFile {
  std::string Path;
  std::string Name;
  std::string MimeType;
};

bool IsBoundaryCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         std::string_view("'()+_,-.:=?").find(c) != std::string_view::npos;
}

void ShowStatus(const TBeckyAPI& host, const wchar_t* text) {
  host.SetMessageText(nullptr, ToAnsi(text).c_str());
}

// The base64 work file holds a copy of the file; it goes once the text is read.
std::string EncodeFile(const TBeckyAPI& host, const TAddedFile& file) {
  TWorkFiles files;
  return std::string(HostEncode(host, HostTempFile(host, "bin", files), file.Path)->Text());
}

// A value MIME lets a message omit, or its default.
std::string FieldOr(const TLineList& lines, size_t headerEnd, std::string_view name,
                    std::string_view byDefault) {
  const auto value = HeaderField(lines, headerEnd, name);
  return value && !value->empty() ? *value : std::string(byDefault);
}

// A 64-bit FNV-1a digest of the message text, in hex: a stand-in for the Message-ID a message
// may lack, the same for the same text.
std::string Digest(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (int shift = 60; shift >= 0; shift -= 4) hex += kHex[(hash >> shift) & 0xF];
  return hex;
}

std::string SinglePartBoundary(const TMailTools& tools, const TMessageView& message) {
  const std::string messageId = FieldOr(message.Lines, message.HeaderLineCount(), "Message-ID", "");
  std::string boundary = MakeBoundary(tools.ShortDate(), messageId);
  // Without an identifier, or with one of no usable characters, the text itself tells messages
  // apart.
  if (messageId.empty() || boundary == MakeBoundary(tools.ShortDate(), ""))
    boundary = MakeBoundary(tools.ShortDate(), Digest(message.Text));
  return boundary;
}

// The boundary, changed until no line of the message begins with it: a body that quotes it would
// otherwise end the new parts early.
std::string UnusedBoundary(const TLineList& lines, std::string boundary) {
  const std::string original = boundary.substr(0, kMaxBoundaryLength - 8);
  for (int n = 1;; ++n) {
    const std::string delimiter = "--" + boundary;
    if (std::none_of(lines.begin(), lines.end(),
                     [&](std::string_view line) { return StartsWith(line, delimiter); }))
      return boundary;
    boundary = original + "=_" + std::to_string(n);
  }
}

// A multipart/mixed message: one more part where its closing delimiter was, then the delimiter.
TAddition AddPart(const TMailTools& tools, const TMessageView& message, const TAddedFile& file) {
  const TLineList& lines = message.Lines;
  const std::string& boundary = message.Boundary;
  if (boundary.empty()) return {std::nullopt, kUnsupportedMailText};
  const size_t closing = FindClosingDelimiter(lines, boundary);
  if (closing == kNoLine) return {std::nullopt, kUnsupportedMailText};
  const std::string encoded = EncodeFile(tools.Host, file);

  TLineWriter out;
  out.Reserve(message.Text.size() + encoded.size() + 1024);
  const size_t headerEnd = message.HeaderEnd;
  WriteMarkedHeader(out, lines, headerEnd, kMarkerFileAdded);
  out.Lines(lines, headerEnd, closing);
  WriteAttachmentPart(out, boundary, file.MimeType, file.Name, encoded);
  out.Line(ClosingDelimiter(boundary));
  out.Lines(lines, closing + 1, lines.size());
  return {out.Take(), kFileAddedText};
}

std::string PartContentType(std::string value) {
  while (!value.empty() && (value.back() == ';' || value.back() == ' ')) value.pop_back();
  return "Content-Type: " + value + ";";
}

// Whether a continuation line of the former Content-Type carries a boundary parameter, in any
// spelling: that boundary would contend with the new one.
bool HoldsBoundary(std::string_view line) {
  return ParseContentType("x/y;" + std::string(line)).Parameter("boundary").has_value();
}

// A single-part message becomes multipart/mixed: its former body with its content headers is the
// first part, the file the second. Content headers the message omits take their MIME defaults.
TAddition ConvertAndAdd(const TMailTools& tools, const TMessageView& message,
                        const TAddedFile& file) {
  const TLineList& lines = message.Lines;
  // A message that ends inside its header has an empty body; one without any header is no mail.
  const size_t headerEnd = message.HeaderLineCount();
  if (headerEnd == 0) return {std::nullopt, kUnsupportedMailText};
  const std::string contentType =
      FieldOr(lines, headerEnd, "Content-Type", "text/plain; charset=us-ascii");
  const std::string encoding = FieldOr(lines, headerEnd, "Content-Transfer-Encoding", "7bit");
  const std::string boundary = UnusedBoundary(lines, SinglePartBoundary(tools, message));
  const TFieldLines typeLines = FindHeaderField(lines, headerEnd, "Content-Type");
  const TFieldLines encodingLines = FindHeaderField(lines, headerEnd, "Content-Transfer-Encoding");
  const bool hasMimeVersion = FindHeaderField(lines, headerEnd, "MIME-Version").First != kNoLine;
  const std::string encoded = EncodeFile(tools.Host, file);

  // The former type's continuation lines stay in the header, but for a boundary parameter; the
  // new boundary parameter then needs the separator that the replaced line carried.
  const auto inType = [&](size_t i) {
    return typeLines.First != kNoLine && i > typeLines.First && i < typeLines.End;
  };
  const auto keptContinuation = [&](size_t i) { return inType(i) && !HoldsBoundary(lines[i]); };
  bool parametersFollow = false;
  for (size_t i = 0; i < headerEnd; ++i) parametersFollow = parametersFollow || keptContinuation(i);
  const auto writeType = [&](TLineWriter& out) {
    out.Line("Content-Type: multipart/mixed;");
    out.Line("\tboundary=\"" + boundary + "\"" + (parametersFollow ? ";" : ""));
  };

  const TMarkerField marker(lines, headerEnd, kMarkerFileAdded);
  TLineWriter out;
  out.Reserve(message.Text.size() + encoded.size() + 1024);
  for (size_t i = 0; i < headerEnd; ++i) {
    if (i == typeLines.First) {
      writeType(out);
    } else if (marker.StartsAt(i)) {
      out.Line(marker.Line());
    } else if (marker.Covers(i)) {
      continue;
    } else if (encodingLines.First != kNoLine && i >= encodingLines.First &&
               i < encodingLines.End) {
      continue;  // the encoding moves into the first part with its continuation lines
    } else if (inType(i) && !keptContinuation(i)) {
      continue;
    } else {
      out.Line(lines[i]);
    }
  }
  if (typeLines.First == kNoLine) writeType(out);
  if (!hasMimeVersion) out.Line("MIME-Version: 1.0");
  if (!marker.Found()) out.Line(marker.Line());
  out.Line("");
  out.Line("--" + boundary);
  out.Line(PartContentType(contentType));
  out.Line("Content-Transfer-Encoding: " + encoding);
  if (headerEnd == lines.size()) out.Line("");  // the part's header ends as the message's did
  out.Lines(lines, headerEnd, lines.size());
  out.Line("");
  WriteAttachmentPart(out, boundary, file.MimeType, file.Name, encoded);
  out.Line(ClosingDelimiter(boundary));
  return {out.Take(), kFileAddedText};
}

// Which way the message takes a file, by its own structure: more parts for multipart/mixed, a
// conversion for a single part; any other multipart type is refused, because a part added to it
// would break a signature, the choice among alternatives or a report's layout.
TAddition AddToMessage(const TMailTools& tools, const std::string& source, std::uint32_t status,
                       const TAddedFile& file) {
  const TMessageView message = ViewMessage(source);
  const TContentType& type = message.Type;
  if (type.Type == "multipart/mixed") return AddPart(tools, message, file);
  if (type.IsMultipart()) return {std::nullopt, UnwritableMultipartText(type.Type)};
  if ((status & kMailHasAttachments) != 0 || (status & kMailNotConverted) != 0)
    return {std::nullopt, kUnsupportedMailText};
  return ConvertAndAdd(tools, message, file);
}

}  // namespace

std::string MakeBoundary(const std::wstring& shortDate, std::string_view messageId) {
  std::string id(messageId);
  if (const size_t open = id.find('<'); open != std::string::npos) {
    id.erase(0, open + 1);
    if (const size_t close = id.find('>'); close != std::string::npos) id.erase(close);
  }
  std::string whole;
  for (const wchar_t c : shortDate)
    if (c < 0x80) whole += static_cast<char>(c);
  whole += id;
  std::string boundary;
  for (const char c : whole)
    if (IsBoundaryCharacter(c) && boundary.size() < kMaxBoundaryLength) boundary += c;
  return boundary;
}

bool CanAddFile(const TMailTools& tools, const char* mail) {
  const TBeckyAPI& host = tools.Host;
  if ((host.GetStatus(mail) & kMailHasAttachments) == 0) return true;
  const std::string header(HostText(host.GetHeader(mail)));
  const TLineList lines = SplitLines(header);
  return HeaderContentType(lines, lines.size()).Type == "multipart/mixed";
}

void AddFileToMessage(const TMailTools& tools, const char* mail, const std::string& path) {
  const TBeckyAPI& host = tools.Host;
  const std::uint32_t status = host.GetStatus(mail);
  TAddition addition;
  try {
    const std::wstring widePath = FromAnsi(path);
    const std::wstring name = widePath.substr(widePath.find_last_of(L"\\:/") + 1);
    const TAddedFile file{path, AnsiFileName(name), MimeTypeForName(tools, name)};
    const std::string source(HostText(host.GetSource(mail)));
    addition = AddToMessage(tools, source, status, file);
    if (addition.Source) HandBack(host, mail, *addition.Source);
  } catch (const std::exception&) {
    addition = {std::nullopt, kAddFailedText};
  }
  if (!addition.Status.empty()) ShowStatus(host, addition.Status.c_str());
}

}  // namespace vlm
