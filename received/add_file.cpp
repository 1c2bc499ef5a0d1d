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
#include "received/single_part_conversion.h"
#include "received/work_files.h"

namespace vlm {
namespace {

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

void ShowStatus(const TBeckyAPI& host, const wchar_t* text) {
  host.SetMessageText(nullptr, ToAnsi(text).c_str());
}

// The base64 work file holds a copy of the file; it goes once the text is read.
std::string EncodeFile(const TBeckyAPI& host, const TAddedFile& file) {
  TWorkFiles files;
  return std::string(HostEncode(host, HostTempFile(host, "bin", files), file.Path)->Text());
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

// A single-part message becomes multipart/mixed, the file its second part.
TAddition ConvertAndAdd(const TMailTools& tools, const TMessageView& message,
                        const TAddedFile& file) {
  const std::string encoded = EncodeFile(tools.Host, file);
  TLineWriter out;
  out.Reserve(message.Text.size() + encoded.size() + 1024);
  WriteAsMultipart(out, tools, message, kMarkerFileAdded,
                   [&](TLineWriter& parts, const std::string& boundary) {
                     WriteAttachmentPart(parts, boundary, file.MimeType, file.Name, encoded);
                   });
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
