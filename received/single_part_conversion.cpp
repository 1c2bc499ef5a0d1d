#include "received/single_part_conversion.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/text.h"
#include "received/header_fields.h"
#include "received/marker_field.h"

namespace vlm {
namespace {

constexpr size_t kMaxBoundaryLength = 70;

bool IsBoundaryCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         std::string_view("'()+_,-.:=?").find(c) != std::string_view::npos;
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

void WriteAsMultipart(TLineWriter& out, const TMailTools& tools, const TMessageView& message,
                      std::string_view markerWord,
                      const std::function<void(TLineWriter&, const std::string&)>& writeParts) {
  const TLineList& lines = message.Lines;
  // A message that ends inside its header has an empty body.
  const size_t headerEnd = message.HeaderLineCount();
  const std::vector<bool> content = ContentFieldLines(lines, headerEnd);
  const bool hasType = FindHeaderField(lines, headerEnd, "Content-Type").First != kNoLine;
  const std::string encoding = FieldOr(lines, headerEnd, "Content-Transfer-Encoding", "");
  const bool hasMimeVersion = FindHeaderField(lines, headerEnd, "MIME-Version").First != kNoLine;
  const std::string boundary = UnusedBoundary(lines, SinglePartBoundary(tools, message));

  const auto firstContent = std::find(content.begin(), content.end(), true) - content.begin();
  const auto writeType = [&](TLineWriter& out) {
    out.Line("Content-Type: multipart/mixed;");
    out.Line("\tboundary=\"" + boundary + "\"");
    // A multipart entity declares the widest encoding of its parts.
    if (IsEightBit(encoding)) out.Line("Content-Transfer-Encoding: 8bit");
  };

  const TMarkerField marker(lines, headerEnd, markerWord);
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
  writeParts(out, boundary);
  out.Line(ClosingDelimiter(boundary));
}

}  // namespace vlm
