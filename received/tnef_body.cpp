#include "received/tnef_body.h"

#include <utility>

#include "base/ansi_text.h"
#include "received/compressed_rtf.h"
#include "received/rtf_body.h"

namespace vlm {
namespace {

// A body larger than this is no body a sender writes; it is left out rather than read whole.
constexpr std::uint64_t kMaxBodyBytes = 64ull << 20;

constexpr char kUtf8Html[] = "text/html; charset=\"utf-8\"";
constexpr char kUtf8Text[] = "text/plain; charset=\"utf-8\"";

std::optional<std::string> ReadRange(const TTnefRead& read, const TTnefRange& range) {
  if (range.Size > kMaxBodyBytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(range.Size), '\0');
  read(range.Offset, bytes.data(), bytes.size());
  return bytes;
}

std::string UpToZero(std::string bytes) {
  bytes.resize(std::min(bytes.find('\0'), bytes.size()));
  return bytes;
}

// 8-bit text in `codePage` as UTF-8; the bytes unchanged when the system lacks the code page.
std::string Utf8FromCodePage(const std::string& bytes, std::optional<unsigned> codePage) {
  if (codePage && *codePage == 65001) return bytes;
  try {
    return ToUtf8(codePage && *codePage != 0 ? FromCodePage(*codePage, bytes) : FromAnsi(bytes));
  } catch (const std::exception&) {
    return bytes;
  }
}

// PR_HTML: its bytes as they are, labelled with PR_INTERNET_CPID's charset; converted to UTF-8
// where that code page has no MIME name.
TTnefBodyPart HtmlPart(std::string bytes, std::optional<unsigned> codePage) {
  bytes = UpToZero(std::move(bytes));
  const std::string charset = codePage ? CharsetOfCodePage(*codePage) : std::string();
  if (!charset.empty())
    return {L"message.html", "text/html; charset=\"" + charset + "\"", std::move(bytes)};
  return {L"message.html", kUtf8Html, Utf8FromCodePage(bytes, codePage)};
}

std::optional<TTnefBodyPart> TextPart(const TTnefInfo& message, const TTnefRead& read) {
  const auto bytes = ReadRange(read, message.Body.Text->Range);
  if (!bytes) return std::nullopt;
  std::string utf8 = message.Body.Text->Unicode
                         ? ToUtf8(FromUtf16Le(*bytes))
                         : Utf8FromCodePage(UpToZero(*bytes), message.CodePage);
  if (utf8.empty()) return std::nullopt;
  return TTnefBodyPart{L"message.txt", kUtf8Text, std::move(utf8)};
}

}  // namespace

std::string CharsetOfCodePage(unsigned codePage) {
  static const std::pair<unsigned, const char*> kCharsets[] = {
      {65001, "utf-8"},       {20127, "us-ascii"},    {28591, "iso-8859-1"},
      {28592, "iso-8859-2"},  {28595, "iso-8859-5"},  {28597, "iso-8859-7"},
      {28605, "iso-8859-15"}, {1250, "windows-1250"}, {1251, "windows-1251"},
      {1252, "windows-1252"}, {1253, "windows-1253"}, {1254, "windows-1254"},
      {1257, "windows-1257"}, {932, "shift_jis"},     {50220, "iso-2022-jp"},
      {50221, "iso-2022-jp"}, {50222, "iso-2022-jp"}, {51932, "euc-jp"},
      {936, "gb2312"},        {54936, "gb18030"},     {949, "ks_c_5601-1987"},
      {51949, "euc-kr"},      {950, "big5"},          {20866, "koi8-r"},
      {21866, "koi8-u"},      {874, "windows-874"},
  };
  for (const auto& [page, name] : kCharsets)
    if (page == codePage) return name;
  return {};
}

std::vector<TTnefBodyPart> TnefBodyParts(const TTnefInfo& message, const TTnefRead& read,
                                         bool withText) {
  std::vector<TTnefBodyPart> parts;
  const TTnefBody& body = message.Body;
  bool textGiven = false;
  if (body.Html) {
    if (auto bytes = ReadRange(read, *body.Html))
      parts.push_back(HtmlPart(std::move(*bytes), body.InternetCodePage));
  } else if (body.RtfCompressed) {
    try {
      if (const auto compressed = ReadRange(read, *body.RtfCompressed)) {
        std::string rtf = DecompressRtf(*compressed);
        const TRtfBody unwrapped = ReadRtfBody(rtf);
        if (unwrapped.Kind == TRtfBody::TKind::Html)
          parts.push_back({L"message.html", kUtf8Html, ToUtf8(unwrapped.Text)});
        else if (unwrapped.Kind == TRtfBody::TKind::Rtf)
          parts.push_back({L"message.rtf", "application/rtf", std::move(rtf)});
        else if (withText && !unwrapped.Text.empty())
          parts.push_back({L"message.txt", kUtf8Text, ToUtf8(unwrapped.Text)});
        textGiven = unwrapped.Kind == TRtfBody::TKind::Text;
      }
    } catch (const ECompressedRtf&) {
    }
  }
  if (withText && !textGiven && body.Text)
    if (auto text = TextPart(message, read)) parts.push_back(std::move(*text));
  return parts;
}

}  // namespace vlm
