#include "received/mime_rules.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/ansi_text.h"
#include "base/text.h"
#include "received/content_type.h"

namespace vlm {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsContinuation(std::string_view line) {
  return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

namespace {

// Calls `take` with each line of `text`, as SplitLines splits it.
template <typename TTake>
void ForEachLine(std::string_view text, TTake&& take) {
  size_t start = 0;
  while (start < text.size()) {
    // memchr-style searches keep this fast over megabytes of base64.
    const char* lf =
        static_cast<const char*>(std::memchr(text.data() + start, '\n', text.size() - start));
    const size_t lfAt = lf ? static_cast<size_t>(lf - text.data()) : text.size();
    const char* cr = static_cast<const char*>(std::memchr(text.data() + start, '\r', lfAt - start));
    const size_t end = cr ? static_cast<size_t>(cr - text.data()) : lfAt;
    take(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
}

}  // namespace

TLineList SplitLines(std::string_view text) {
  TLineList lines;
  // Counted first: a message of tens of megabytes has hundreds of thousands of lines, and a
  // growing list would copy itself over and over.
  size_t breaks = 0;
  for (const char *p = text.data(), *end = p + text.size();
       (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p)
    ++breaks;
  lines.reserve(breaks + 1);
  ForEachLine(text, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

void TLineWriter::Append(std::string_view bytes) {
  if (FCounting) {
    FSize += bytes.size();
  } else if (FBuffer) {
    if (bytes.size() > FCapacity - FSize) throw EReceivedMail("the new message outgrew its buffer");
    std::memcpy(FBuffer + FSize, bytes.data(), bytes.size());
    FSize += bytes.size();
  } else {
    FText.append(bytes);
  }
}

void TLineWriter::Line(std::string_view line) {
  Append(line);
  Append("\r\n");
}

void TLineWriter::TextLines(std::string_view text) {
  ForEachLine(text, [&](std::string_view line) { Line(line); });
}

void TLineWriter::Lines(const TLineList& lines, size_t from, size_t to) {
  for (size_t i = from; i < to && i < lines.size(); ++i) Line(lines[i]);
}

bool StartsWith(std::string_view line, std::string_view prefix) {
  // Asked of every line of messages of megabytes, nearly always of a line that differs at once.
  if (line.size() < prefix.size()) return false;
  if (prefix.empty()) return true;
  return line.front() == prefix.front() &&
         std::memcmp(line.data(), prefix.data(), prefix.size()) == 0;
}

bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix) {
  return line.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(line.substr(0, prefix.size()), prefix);
}

bool ContainsText(std::string_view line, std::string_view text, size_t* end) {
  if (IsAscii(line)) {
    const size_t at = line.find(text);
    if (at == std::string_view::npos) return false;
    if (end) *end = at + text.size();
    return true;
  }
  // Rare: the line holds 8-bit text. Compare characters, and map the match back to bytes by
  // converting the line's head, which keeps the rest of the line as its original bytes.
  try {
    const std::wstring wide = FromAnsi(line);
    const std::wstring pattern(text.begin(), text.end());
    const size_t at = wide.find(pattern);
    if (at == std::wstring::npos) return false;
    if (end) *end = ToAnsi(std::wstring_view(wide).substr(0, at + pattern.size())).size();
    return true;
  } catch (const std::exception&) {
    return false;  // not text of the code page at all
  }
}

size_t HeaderEnd(const TLineList& lines) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].empty()) return i;
  return kNoLine;
}

std::string MessageBoundary(const TLineList& lines) {
  const size_t headerEnd = HeaderEnd(lines);
  if (headerEnd == kNoLine) return {};
  const TContentType type = HeaderContentType(lines, headerEnd);
  if (!type.IsMultipart()) return {};
  return type.Parameter("boundary").value_or("");
}

std::string ClosingDelimiter(std::string_view boundary) {
  return "--" + std::string(boundary) + "--";
}

size_t FindClosingDelimiter(const TLineList& lines, std::string_view boundary) {
  const std::string delimiter = ClosingDelimiter(boundary);
  for (size_t i = lines.size(); i-- > 0;)
    if (StartsWith(lines[i], delimiter)) return i;
  return kNoLine;
}

TFieldLines FindHeaderField(const TLineList& lines, size_t headerEnd, std::string_view name) {
  const std::string prefix = std::string(name) + ":";
  const size_t end = std::min(headerEnd, lines.size());
  for (size_t i = 0; i < end; ++i) {
    if (!StartsWithIgnoringCase(lines[i], prefix)) continue;
    size_t last = i + 1;
    while (last < end && IsContinuation(lines[last])) ++last;
    return {i, last};
  }
  return {};
}

std::optional<std::string> HeaderField(const TLineList& lines, size_t headerEnd,
                                       std::string_view name) {
  const TFieldLines field = FindHeaderField(lines, headerEnd, name);
  if (field.First == kNoLine) return std::nullopt;
  std::string value(Trim(lines[field.First].substr(name.size() + 1)));
  for (size_t i = field.First + 1; i < field.End; ++i) {
    const std::string_view more = Trim(lines[i]);
    if (more.empty()) continue;
    if (!value.empty()) value += ' ';
    value += more;
  }
  return value;
}

std::string MarkerLine(std::string_view value) {
  return std::string(kMarkerHeader) + ": " + std::string(value);
}

bool HasMarker(const TLineList& lines, size_t headerEnd, std::string_view value) {
  const std::string prefix = std::string(kMarkerHeader) + ":";
  const size_t end = std::min(headerEnd, lines.size());
  for (size_t i = 0; i < end; ++i)
    if (StartsWithIgnoringCase(lines[i], prefix) && lines[i].find(value) != std::string_view::npos)
      return true;
  return false;
}

void WriteAttachmentPart(TLineWriter& out, std::string_view boundary, std::string_view mimeType,
                         std::string_view fileName, std::string_view base64) {
  const std::string name(fileName);
  out.Line("--" + std::string(boundary));
  out.Line("Content-Type: " + std::string(mimeType) + ";");
  out.Line("\tname=\"" + name + "\"");
  out.Line("Content-Transfer-Encoding: base64");
  out.Line("Content-Disposition: attachment;");
  out.Line("\tfilename=\"" + name + "\"");
  out.Line("");
  out.TextLines(base64);
  out.Line("");
  out.Line("");
}

std::wstring UnwritableMultipartText(std::string_view type) {
  std::wstring name;
  for (const char c : type)
    name += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?';
  return L"「" + name + L"」形式のメールは書き換えられません（署名や構成が壊れるため）。";
}

THostBuffer::THostBuffer(const TBeckyAPI& host, size_t size) : FHost(host) {
  if (size >= std::numeric_limits<std::uint32_t>::max())
    throw EReceivedMail("message too large for a host buffer");
  FData = static_cast<char*>(host.Alloc(static_cast<std::uint32_t>(size)));
  if (!FData) throw EReceivedMail("the host gave no buffer");
}

void HandBack(const TBeckyAPI& host, const char* mail, std::string_view text) {
  const THostBuffer buffer(host, text.size() + 1);
  std::memcpy(buffer.Data(), text.data(), text.size());
  buffer.Data()[text.size()] = '\0';
  host.SetSource(mail, buffer.Data());
}

}  // namespace vlm
