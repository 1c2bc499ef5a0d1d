#include "received/forwarded_message.h"

#include <algorithm>
#include <vector>

#include "base/ansi_text.h"
#include "base/base64_text.h"
#include "received/attachment_file_name.h"
#include "received/header_text.h"

namespace vlm {
namespace {

// Attachments are encoded this many bytes at a time: whole base64 lines, a little memory.
constexpr std::size_t kEncodePiece = kBase64LineBytes * 1024;

bool IsAscii(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c > 0x20 && c < 0x7F; });
}

// A file name as parameters: plain where it is ASCII; otherwise RFC 2231's UTF-8 form for
// `filename*`, and an encoded word in `name` for readers that know only that.
std::string PercentUtf8(std::wstring_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : ToUtf8(name)) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
        std::string_view("!#$&+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string QuotedAscii(std::wstring_view name) {
  std::string out;
  for (const wchar_t c : name) out += c == L'"' || c == L'\\' ? '_' : static_cast<char>(c);
  return "\"" + out + "\"";
}

class TMessageWriter {
 public:
  explicit TMessageWriter(TForwardingContext& context) : FContext(context) {}

  void Message(const TTnefInfo& message) {
    Header(message.Header);
    const std::string boundary = NewBoundary();
    Line("MIME-Version: 1.0");
    Line("Content-Type: multipart/mixed;");
    Line("\tboundary=\"" + boundary + "\"");
    Line("");
    Body(message, boundary);
    for (std::size_t i = 0; i < message.Attachments.size(); ++i) Attachment(message, i, boundary);
    Line("--" + boundary + "--");
  }

 private:
  void Line(std::string_view text) {
    FContext.Write(text);
    FContext.Write("\r\n");
  }

  std::string NewBoundary() { return "=_Velmora_item_" + std::to_string(++FContext.Boundaries); }

  void Header(const TTnefHeader& header) {
    if (!header.FromName.empty() || !header.FromAddress.empty()) {
      std::string from = EncodedHeaderText(header.FromName);
      if (!header.FromAddress.empty())
        from += (from.empty() ? "<" : " <") + EncodedHeaderText(header.FromAddress) + ">";
      Line("From: " + from);
    }
    if (!header.To.empty()) Line("To: " + EncodedHeaderText(header.To));
    if (!header.Cc.empty()) Line("Cc: " + EncodedHeaderText(header.Cc));
    Line("Subject: " + EncodedHeaderText(header.Subject));
    if (header.SubmitTime) Line("Date: " + MailDate(*header.SubmitTime));
    if (!header.MessageId.empty()) Line("Message-ID: " + header.MessageId);
  }

  void Body(const TTnefInfo& message, const std::string& boundary) {
    const std::vector<TTnefBodyPart> parts = TnefBodyParts(message, FContext.Read, true);
    for (const TTnefBodyPart& part : parts) {
      Line("--" + boundary);
      Line("Content-Type: " + part.ContentType);
      Line("Content-Transfer-Encoding: base64");
      if (part.Name == L"message.rtf")
        Line("Content-Disposition: attachment; filename=\"message.rtf\"");
      Line("");
      std::string encoded;
      AppendBase64Lines(encoded, part.Bytes);
      FContext.Write(encoded);
    }
  }

  void NameParameters(std::string_view type, std::wstring_view name) {
    if (IsAscii(name)) {
      Line("Content-Type: " + std::string(type) + "; name=" + QuotedAscii(name));
      Line("Content-Disposition: attachment; filename=" + QuotedAscii(name));
      return;
    }
    Line("Content-Type: " + std::string(type) + ";");
    Line("\tname=\"" + EncodedHeaderText(name) + "\"");
    Line("Content-Disposition: attachment;");
    Line("\tfilename*=utf-8''" + PercentUtf8(name));
  }

  void Attachment(const TTnefInfo& message, std::size_t index, const std::string& boundary) {
    const TTnefAttachmentInfo& attachment = message.Attachments[index];
    const std::wstring name =
        TnefAttachmentName(message, index, FContext.Read, FContext.LongFileNames);
    if (attachment.Embedded) {
      Line("--" + boundary);
      NameParameters("message/rfc822", name);
      Line("");
      Message(*attachment.Embedded);
      return;
    }
    const auto& data = attachment.Data ? attachment.Data : attachment.BlockData;
    if (!data) return;
    Line("--" + boundary);
    NameParameters(FContext.TypeOf(name, attachment.MimeTag), name);
    Line("Content-Transfer-Encoding: base64");
    Line("");
    std::string piece, encoded;
    for (std::uint64_t at = 0; at < data->Size; at += kEncodePiece) {
      piece.resize(
          static_cast<std::size_t>(std::min<std::uint64_t>(kEncodePiece, data->Size - at)));
      FContext.Read(data->Offset + at, piece.data(), piece.size());
      encoded.clear();
      AppendBase64Lines(encoded, piece);
      FContext.Write(encoded);
    }
  }

  TForwardingContext& FContext;
};

}  // namespace

void WriteForwardedMessage(const TTnefInfo& message, TForwardingContext& context) {
  TMessageWriter(context).Message(message);
}

std::wstring TnefAttachmentName(const TTnefInfo& message, std::size_t index, const TTnefRead& read,
                                bool longFileNames) {
  const TTnefAttachmentInfo& attachment = message.Attachments[index];
  const std::wstring unnamed = L"attachment" + std::to_wstring(index + 1);
  if (attachment.Embedded) {
    std::wstring subject =
        attachment.DisplayName ? *attachment.DisplayName : attachment.Embedded->Header.Subject;
    std::wstring name = SafeFileName(subject + L".eml");
    return name.empty() || name == L".eml" ? unnamed + L".eml" : name;
  }
  if (longFileNames && attachment.LongName) {
    if (std::wstring name = SafeFileName(*attachment.LongName); !name.empty()) return name;
  }
  if (attachment.Title) {
    std::string bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>(attachment.Title->Size, kMaxTitleBytes)),
        '\0');
    read(attachment.Title->Offset, bytes.data(), bytes.size());
    const std::wstring title =
        SafeFileName(TitleText(std::move(bytes), longFileNames ? message.CodePage : std::nullopt));
    if (!title.empty()) return title;
  }
  return unnamed;
}

}  // namespace vlm
