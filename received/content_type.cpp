#include "received/content_type.h"

#include <algorithm>
#include <map>

#include "base/ansi_text.h"

#include "base/text.h"
#include "received/header_fields.h"

namespace vlm {
namespace {

std::string Lowered(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](char c) { return LowerAscii(c); });
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A character of a MIME token: printable ASCII except the specials, or any 8-bit byte (real mail
// carries raw 8-bit names; refusing them would lose the parameters behind them).
bool IsTokenCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > 0x20 && u != 0x7F &&
         std::string_view("()<>@,;:\\\"/[]?=").find(c) == std::string_view::npos;
}

// Walks a field value; every read stops at the end of the text.
class TValueReader {
 public:
  explicit TValueReader(std::string_view text) : FText(text) {}

  [[nodiscard]] bool AtEnd() const { return FAt >= FText.size(); }
  [[nodiscard]] char Peek() const { return AtEnd() ? '\0' : FText[FAt]; }
  void Skip() { ++FAt; }

  // Blanks and comments: "(...)", nested, with backslash escapes.
  void SkipBlanksAndComments() {
    while (!AtEnd()) {
      if (IsBlank(Peek())) {
        Skip();
      } else if (Peek() == '(') {
        SkipComment();
      } else {
        return;
      }
    }
  }

  std::string_view Token() {
    const size_t from = FAt;
    while (!AtEnd() && IsTokenCharacter(Peek())) Skip();
    return FText.substr(from, FAt - from);
  }

  // A quoted string without its quotes and escapes; an unclosed one runs to the end.
  std::string Quoted() {
    std::string value;
    Skip();  // the opening quote
    while (!AtEnd() && Peek() != '"') {
      // A raw two-byte name ("一覧表" ends in 0x5C) keeps its second byte: no escape there.
      if (IsAnsiLeadByte(static_cast<unsigned char>(Peek())) && FAt + 1 < FText.size()) {
        value += Peek();
        Skip();
      } else if (Peek() == '\\' && FAt + 1 < FText.size()) {
        Skip();
      }
      value += Peek();
      Skip();
    }
    if (!AtEnd()) Skip();  // the closing quote
    return value;
  }

  // A bare value: senders put '=', '/' and other specials in unquoted boundaries, so it runs to
  // the next blank, ';', comment or quote.
  std::string_view Bare() {
    const size_t from = FAt;
    while (!AtEnd() && !IsBlank(Peek()) && Peek() != ';' && Peek() != '(' && Peek() != '"') Skip();
    return FText.substr(from, FAt - from);
  }

  void SkipPastSemicolon() {
    while (!AtEnd() && Peek() != ';') {
      if (Peek() == '"') {
        Quoted();
      } else {
        Skip();
      }
    }
    if (!AtEnd()) Skip();
  }

 private:
  void SkipComment() {
    int depth = 0;
    while (!AtEnd()) {
      const char c = Peek();
      Skip();
      if (c == '\\') {
        Skip();
      } else if (c == '(') {
        ++depth;
      } else if (c == ')' && --depth == 0) {
        return;
      }
    }
  }

  std::string_view FText;
  size_t FAt = 0;
};

std::string ReadType(TValueReader& reader) {
  reader.SkipBlanksAndComments();
  const std::string_view type = reader.Token();
  reader.SkipBlanksAndComments();
  if (type.empty() || reader.Peek() != '/') return {};
  reader.Skip();
  reader.SkipBlanksAndComments();
  const std::string_view subtype = reader.Token();
  if (subtype.empty()) return {};
  return Lowered(type) + "/" + Lowered(subtype);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bytes of an extended value ("%E4%B8%80" for three bytes); a '%' without two hex digits
// stays as it is.
std::string PercentDecoded(std::string_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low >= 0) {
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// One piece of a parameter split as RFC 2231 allows: "name*0", "name*1*" (percent-encoded) or
// "name*" (one encoded piece), the first encoded piece led by "charset'language'".
struct TPiece {
  std::string Name;
  int Section = 0;
  bool Encoded = false;
};

std::optional<TPiece> ReadPiece(std::string_view key) {
  const size_t star = key.find('*');
  if (star == std::string_view::npos || star == 0) return std::nullopt;
  TPiece piece{std::string(key.substr(0, star))};
  std::string_view rest = key.substr(star + 1);
  piece.Encoded = rest.empty() || rest.back() == '*';
  if (rest.empty()) return piece;
  if (piece.Encoded) rest.remove_suffix(1);
  if (rest.empty() || rest.size() > 4 ||
      rest.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  piece.Section = std::stoi(std::string(rest));
  return piece;
}

// Parameters given in pieces, joined in section order under their own name; a parameter also
// given whole keeps the whole value, which comes first.
void JoinPieces(std::vector<std::pair<std::string, std::string>>& parameters) {
  std::map<std::string, std::map<int, std::string>> pieces;
  for (const auto& [key, value] : parameters) {
    const auto piece = ReadPiece(key);
    if (!piece) continue;
    std::string text = value;
    if (piece->Encoded) {
      if (piece->Section == 0) {
        const size_t quote = text.find('\'');
        const size_t second = quote == std::string::npos ? quote : text.find('\'', quote + 1);
        if (second != std::string::npos) text.erase(0, second + 1);
      }
      text = PercentDecoded(text);
    }
    pieces[piece->Name].emplace(piece->Section, std::move(text));
  }
  for (auto& [name, sections] : pieces) {
    std::string joined;
    int expected = 0;
    for (const auto& [section, text] : sections) {
      if (section != expected++) break;  // a missing piece ends the value
      joined += text;
    }
    parameters.emplace_back(name, std::move(joined));
  }
}

}  // namespace

std::optional<std::string> TContentType::Parameter(std::string_view name) const {
  const std::string wanted = Lowered(name);
  for (const auto& [key, value] : Parameters)
    if (key == wanted) return value;
  return std::nullopt;
}

TContentType ParseContentType(std::string_view value) {
  TContentType result;
  TValueReader reader(value);
  result.Type = ReadType(reader);
  reader.SkipPastSemicolon();
  while (!reader.AtEnd()) {
    reader.SkipBlanksAndComments();
    const std::string name = Lowered(reader.Token());
    reader.SkipBlanksAndComments();
    if (name.empty() || reader.Peek() != '=') {
      reader.SkipPastSemicolon();
      continue;
    }
    reader.Skip();
    reader.SkipBlanksAndComments();
    std::string parameter = reader.Peek() == '"' ? reader.Quoted() : std::string(reader.Bare());
    result.Parameters.emplace_back(name, std::move(parameter));
    reader.SkipPastSemicolon();
  }
  JoinPieces(result.Parameters);
  return result;
}

TContentType HeaderContentType(const TLineList& lines, size_t headerEnd) {
  const auto field = HeaderField(lines, headerEnd, "Content-Type");
  return field ? ParseContentType(*field) : TContentType{};
}

}  // namespace vlm
