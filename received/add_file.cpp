#include "received/add_file.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/text.h"

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

// A multipart/mixed message: one more part just before its closing delimiter. Every kept byte
// stays as it stands.
TAddition AddPart(const TMailTools& tools, const TMessageView& message, const TAddedFile& file) {
  const size_t closing = FindClosingDelimiter(message.Lines, message.Boundary);
  const std::string encoded = EncodeFile(tools.Host, file);

  TLineWriter out;
  out.Reserve(message.Text.size() + encoded.size() + 1024);
  const size_t headerEnd = message.HeaderEnd;
  WriteMarkedHeader(out, message, headerEnd, kMarkerFileAdded);
  out.Bytes(message.Span(headerEnd, closing));
  WriteAttachmentPart(out, message.Boundary, file.MimeType, file.Name, encoded);
  out.Bytes(message.Span(closing, message.Lines.size()));
  return {out.Take(), kFileAddedText};
}

// Which header lines belong to a Content-* field, continuation lines included: they describe the
// body, so they go with it into the first part.
std::vector<bool> ContentFieldLines(const TLineList& lines, size_t headerEnd) {
  std::vector<bool> content(headerEnd, false);
  bool inField = false;
  for (size_t i = 0; i < headerEnd; ++i) {
    if (!IsContinuation(lines[i])) inField = StartsWithIgnoringCase(lines[i], "Content-");
    content[i] = inField;
  }
  return content;
}

bool IsEightBit(std::string_view encoding) {
  return EqualsIgnoringAsciiCase(encoding, "8bit");
}

// A single-part message becomes multipart/mixed: its former body with all its Content-* fields
// is the first part, the file the second. The body keeps every byte; a missing content field takes
// its MIME default.
TAddition ConvertAndAdd(const TMailTools& tools, const TMessageView& message,
                        const TAddedFile& file) {
  const TLineList& lines = message.Lines;
  // A message that ends inside its header has an empty body.
  const size_t headerEnd = message.HeaderLineCount();
  const std::vector<bool> content = ContentFieldLines(lines, headerEnd);
  const bool hasType = FindHeaderField(lines, headerEnd, "Content-Type").First != kNoLine;
  const std::string encoding = FieldOr(lines, headerEnd, "Content-Transfer-Encoding", "");
  const bool hasMimeVersion = FindHeaderField(lines, headerEnd, "MIME-Version").First != kNoLine;
  const std::string boundary = UnusedBoundary(lines, SinglePartBoundary(tools, message));
  const std::string encoded = EncodeFile(tools.Host, file);

  const auto firstContent = std::find(content.begin(), content.end(), true) - content.begin();
  const auto writeType = [&](TLineWriter& out) {
    out.Line("Content-Type: multipart/mixed;");
    out.Line("\tboundary=\"" + boundary + "\"");
    // A multipart entity declares the widest encoding of its parts.
    if (IsEightBit(encoding)) out.Line("Content-Transfer-Encoding: 8bit");
  };

  const TMarkerField marker(lines, headerEnd, kMarkerFileAdded);
  TLineWriter out;
  out.Reserve(message.Text.size() + encoded.size() + 1024);
  for (size_t i = 0; i < headerEnd; ++i) {
    if (static_cast<std::ptrdiff_t>(i) == firstContent) writeType(out);
    if (marker.StartsAt(i)) {
      out.Line(marker.Line());
    } else if (!marker.Covers(i) && !content[i]) {
      out.KeptLine(message.Span(i, i + 1));
    }
  }
  if (firstContent == static_cast<std::ptrdiff_t>(headerEnd)) writeType(out);
  if (!hasMimeVersion) out.Line("MIME-Version: 1.0");
  if (!marker.Found()) out.Line(marker.Line());
  out.Line("");
  out.Line("--" + boundary);
  if (!hasType) out.Line("Content-Type: text/plain; charset=us-ascii");
  if (encoding.empty()) out.Line("Content-Transfer-Encoding: 7bit");
  for (size_t i = 0; i < headerEnd; ++i)
    if (content[i]) out.KeptLine(message.Span(i, i + 1));
  if (headerEnd == lines.size()) out.Line("");  // the part's header ends as the message's did
  out.Bytes(message.Span(headerEnd, lines.size()));
  out.Line("");  // the line break that belongs to the delimiter, not to the body
  WriteAttachmentPart(out, boundary, file.MimeType, file.Name, encoded);
  out.Line(ClosingDelimiter(boundary));
  return {out.Take(), kFileAddedText};
}

// Why the message cannot take a file, by its own structure; nothing when it can. A part added to
// a multipart type other than mixed would break a signature, the choice among alternatives or a
// report's layout. A single part sent as binary may hold NUL bytes, and the host's text ends at
// the first of them: a rewrite would lose the rest.
std::optional<std::wstring> RefusalFor(const TMessageView& message, std::uint32_t status) {
  const size_t headerEnd = message.HeaderLineCount();
  if (!IsWellFormedHeader(message.Lines, headerEnd)) return kUnsupportedMailText;
  const TContentType& type = message.Type;
  if (type.Type == "multipart/mixed") {
    if (message.Boundary.empty() ||
        FindClosingDelimiter(message.Lines, message.Boundary) == kNoLine)
      return kUnsupportedMailText;
    return std::nullopt;
  }
  if (type.IsMultipart()) return UnwritableMultipartText(type.Type);
  if ((status & kMailHasAttachments) != 0 || (status & kMailNotConverted) != 0)
    return kUnsupportedMailText;
  const auto encoding = HeaderField(message.Lines, headerEnd, "Content-Transfer-Encoding");
  if (encoding && EqualsIgnoringAsciiCase(*encoding, "binary")) return kUnsupportedMailText;
  return std::nullopt;
}

TAddition AddToMessage(const TMailTools& tools, const std::string& source, std::uint32_t status,
                       const TAddedFile& file) {
  const TMessageView message = ViewMessage(source);
  if (auto refusal = RefusalFor(message, status)) return {std::nullopt, std::move(*refusal)};
  if (message.Type.Type == "multipart/mixed") return AddPart(tools, message, file);
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

std::optional<std::wstring> AddFileRefusal(const TMailTools& tools, const char* mail) {
  const TBeckyAPI& host = tools.Host;
  return RefusalFor(ViewMessage(HostText(host.GetSource(mail))), host.GetStatus(mail));
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
