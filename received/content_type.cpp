#include "received/content_type.h"

#include <algorithm>

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
      if (Peek() == '\\' && FAt + 1 < FText.size()) Skip();
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
  return result;
}

TContentType HeaderContentType(const TLineList& lines, size_t headerEnd) {
  const auto field = HeaderField(lines, headerEnd, "Content-Type");
  return field ? ParseContentType(*field) : TContentType{};
}

}  // namespace vlm
