#include "received/add_file.h"

#include <algorithm>
#include <optional>

#include "base/ansi_text.h"
#include "received/mime_rules.h"
#include "received/work_files.h"
#include "base/text.h"

namespace vlm {
namespace {

constexpr std::uint32_t kHasAttachments = 8;
constexpr std::uint32_t kNotConverted = 256;
constexpr size_t kMaxBoundaryLength = 70;

// How an addition ends: the new source when there is one, and the status text to show.
struct TAddition {
  std::optional<std::string> Source;
  const wchar_t* Status = nullptr;
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

std::string EncodeFile(const TBeckyAPI& host, const TAddedFile& file) {
  return HostEncode(host, HostTempFile(host, "bin"), file.Path);
}

// A multipart/mixed message: one more part where its closing delimiter was, then the delimiter.
TAddition AddPart(const TMailTools& tools, const std::string& source, const TAddedFile& file) {
  const TLineList lines = SplitLines(source);
  const std::string boundary = MessageBoundary(lines);
  if (boundary.empty()) return {};
  const size_t closing = FindClosingDelimiter(lines, boundary);
  if (closing == kNoLine) return {};
  const std::string encoded = EncodeFile(tools.Host, file);

  TLineWriter out;
  out.Reserve(source.size() + encoded.size() + 1024);
  const size_t headerEnd = HeaderEnd(lines);
  out.Lines(lines, 0, headerEnd);
  out.Line(MarkerLine(kMarkerFileAdded));
  out.Lines(lines, headerEnd, closing);
  WriteAttachmentPart(out, boundary, file.MimeType, file.Name, SplitLines(encoded));
  out.Line(ClosingDelimiter(boundary));
  out.Lines(lines, closing + 1, lines.size());
  return {out.Take(), kFileAddedText};
}

std::string PartContentType(std::string value) {
  while (!value.empty() && (value.back() == ';' || value.back() == ' ')) value.pop_back();
  return "Content-Type: " + value + ";";
}

// A single-part message becomes multipart/mixed: its former body with its content headers is the
// first part, the file the second.
TAddition ConvertAndAdd(const TMailTools& tools, const std::string& source,
                        const TAddedFile& file) {
  const TLineList lines = SplitLines(source);
  const size_t headerEnd = HeaderEnd(lines);
  const size_t fieldsEnd = headerEnd == kNoLine ? lines.size() : headerEnd;
  const auto contentType = HeaderField(lines, fieldsEnd, "Content-Type");
  const auto encoding = HeaderField(lines, fieldsEnd, "Content-Transfer-Encoding");
  const auto messageId = HeaderField(lines, fieldsEnd, "Message-ID");
  for (const auto* field : {&contentType, &encoding, &messageId})
    if (!*field || (*field)->empty()) return {std::nullopt, kUnsupportedMailText};
  if (headerEnd == kNoLine || headerEnd == 0) return {};

  const std::string boundary = MakeBoundary(tools.ShortDate(), *messageId);
  const TFieldLines typeLines = FindHeaderField(lines, headerEnd, "Content-Type");
  const TFieldLines encodingLines = FindHeaderField(lines, headerEnd, "Content-Transfer-Encoding");
  const std::string encoded = EncodeFile(tools.Host, file);

  // The former type's continuation lines stay in the header. A former multipart type's own
  // boundary would contend with the new one and goes; any other parameter stays, and the new
  // boundary parameter then needs the separator that the replaced line carried.
  const auto keptContinuation = [&](size_t i) {
    return i > typeLines.First && i < typeLines.End && !ContainsText(lines[i], "boundary=");
  };
  bool parametersFollow = false;
  for (size_t i = typeLines.First + 1; i < typeLines.End; ++i)
    parametersFollow = parametersFollow || keptContinuation(i);

  TLineWriter out;
  out.Reserve(source.size() + encoded.size() + 1024);
  for (size_t i = 0; i < headerEnd; ++i) {
    if (i == typeLines.First) {
      out.Line("Content-Type: multipart/mixed;");
      out.Line("\tboundary=\"" + boundary + "\"" + (parametersFollow ? ";" : ""));
    } else if (i >= encodingLines.First && i < encodingLines.End) {
      continue;  // the encoding moves into the first part with its continuation lines
    } else if (i > typeLines.First && i < typeLines.End && !keptContinuation(i)) {
      continue;
    } else {
      out.Line(lines[i]);
    }
  }
  out.Line(MarkerLine(kMarkerFileAdded));
  out.Line("");
  out.Line("--" + boundary);
  out.Line(PartContentType(*contentType));
  out.Line("Content-Transfer-Encoding: " + *encoding);
  out.Lines(lines, headerEnd, lines.size());
  out.Line("");
  WriteAttachmentPart(out, boundary, file.MimeType, file.Name, SplitLines(encoded));
  out.Line(ClosingDelimiter(boundary));
  return {out.Take(), kFileAddedText};
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
  if ((host.GetStatus(mail) & kHasAttachments) == 0) return true;
  const std::string header(HostText(host.GetHeader(mail)));
  const TLineList lines = SplitLines(header);
  std::string type = HeaderField(lines, lines.size(), "Content-Type").value_or("");
  std::transform(type.begin(), type.end(), type.begin(), [](char c) { return LowerAscii(c); });
  return type.find("multipart/mixed") != std::string::npos;
}

void AddFileToMessage(const TMailTools& tools, const char* mail, const std::string& path) {
  const TBeckyAPI& host = tools.Host;
  const std::uint32_t status = host.GetStatus(mail);
  if ((status & kHasAttachments) == 0 && (status & kNotConverted) != 0) return;
  TAddition addition;
  try {
    const std::wstring widePath = FromAnsi(path);
    const std::wstring name = widePath.substr(widePath.find_last_of(L"\\:/") + 1);
    const TAddedFile file{path, AnsiFileName(name), MimeTypeForName(tools, name)};
    const std::string source(HostText(host.GetSource(mail)));
    addition = (status & kHasAttachments) != 0 ? AddPart(tools, source, file)
                                               : ConvertAndAdd(tools, source, file);
    if (addition.Source) HandBack(host, mail, *addition.Source);
  } catch (const std::exception&) {
    addition.Status = kAddFailedText;
  }
  if (addition.Status) ShowStatus(host, addition.Status);
}

}  // namespace vlm
