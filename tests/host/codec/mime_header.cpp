#include "tests/host/codec/mime_header.h"

#include <optional>
#include <vector>

#include "tests/host/codec/iso2022jp.h"

namespace hostcodec {
namespace {

enum class Charset { Iso2022Jp, ShiftJis, Utf8, Latin1 };

struct EncodedWord {
  std::string charsetName;
  Charset charset;
  std::string bytes;  // decoded from B or Q, still in the word's charset
};

// A header cut into plain text and encoded words, in order.
struct Segment {
  std::string_view text;  // plain text, or the encoded word as written
  std::optional<EncodedWord> word;
};

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

std::optional<Charset> CharsetNamed(std::string_view name) {
  const std::string lower = Lower(name.substr(0, name.find('*')));  // RFC 2231 language suffix
  if (lower == "iso-2022-jp") return Charset::Iso2022Jp;
  if (lower == "shift_jis" || lower == "shift-jis" || lower == "sjis" || lower == "x-sjis" ||
      lower == "cp932" || lower == "ms932" || lower == "windows-31j")
    return Charset::ShiftJis;
  if (lower == "utf-8" || lower == "utf8") return Charset::Utf8;
  if (lower == "us-ascii" || lower == "iso-8859-1" || lower == "latin1") return Charset::Latin1;
  return std::nullopt;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::optional<std::string> DecodeB(std::string_view text) {
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=') break;
    const int value = Base64Value(c);
    if (value < 0) return std::nullopt;
    bits = (bits << 6) | static_cast<unsigned>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xffu);
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerAscii(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string DecodeQ(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const int high = c == '=' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += c == '_' ? ' ' : c;
    }
  }
  return out;
}

bool IsWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads "=?charset?encoding?text?=" at the start of `rest`; its length goes to `length`.
std::optional<EncodedWord> ReadEncodedWord(std::string_view rest, std::size_t& length) {
  if (rest.substr(0, 2) != "=?") return std::nullopt;
  const std::size_t charsetEnd = rest.find('?', 2);
  if (charsetEnd == std::string_view::npos || charsetEnd == 2 || charsetEnd + 2 >= rest.size() ||
      rest[charsetEnd + 2] != '?')
    return std::nullopt;
  const std::size_t textStart = charsetEnd + 3;
  const std::size_t textEnd = rest.find('?', textStart);
  if (textEnd == std::string_view::npos || textEnd + 1 >= rest.size() || rest[textEnd + 1] != '=')
    return std::nullopt;
  const std::string_view charsetName = rest.substr(2, charsetEnd - 2);
  const std::string_view text = rest.substr(textStart, textEnd - textStart);
  for (char c : charsetName)
    if (IsWhitespace(c)) return std::nullopt;
  for (char c : text)
    if (IsWhitespace(c)) return std::nullopt;
  const std::optional<Charset> charset = CharsetNamed(charsetName);
  if (!charset) return std::nullopt;
  std::optional<std::string> bytes;
  switch (LowerAscii(rest[charsetEnd + 1])) {
    case 'b':
      bytes = DecodeB(text);
      break;
    case 'q':
      bytes = DecodeQ(text);
      break;
    default:
      return std::nullopt;
  }
  if (!bytes) return std::nullopt;
  length = textEnd + 2;
  return EncodedWord{std::string(charsetName), *charset, std::move(*bytes)};
}

std::vector<Segment> Segments(std::string_view header) {
  std::vector<Segment> segments;
  std::size_t textStart = 0;
  std::size_t at = header.find("=?");
  while (at != std::string_view::npos) {
    std::size_t length = 0;
    std::optional<EncodedWord> word = ReadEncodedWord(header.substr(at), length);
    if (!word) {
      at = header.find("=?", at + 1);
      continue;
    }
    if (at > textStart) segments.push_back({header.substr(textStart, at - textStart), {}});
    segments.push_back({header.substr(at, length), std::move(word)});
    textStart = at + length;
    at = header.find("=?", textStart);
  }
  if (textStart < header.size()) segments.push_back({header.substr(textStart), {}});
  return segments;
}

bool IsAllWhitespace(std::string_view text) {
  for (char c : text)
    if (!IsWhitespace(c)) return false;
  return true;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xc0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3f));
    }
  }
  return out;
}

std::string ToCp932(Charset charset, std::string_view bytes, const Utf8ToCp932& fromUtf8) {
  switch (charset) {
    case Charset::Iso2022Jp:
      return Iso2022JpToCp932(bytes);
    case Charset::ShiftJis:
      return std::string(bytes);
    case Charset::Utf8:
      return fromUtf8(bytes);
    case Charset::Latin1:
      return fromUtf8(Latin1ToUtf8(bytes));
  }
  return std::string(bytes);
}

}  // namespace

DecodedHeader DecodeMimeHeader(std::string_view header, const Utf8ToCp932& fromUtf8) {
  const std::vector<Segment> segments = Segments(header);
  DecodedHeader decoded;
  std::string run;  // bytes of adjacent encoded words of one charset, not yet converted
  bool inRun = false;
  Charset runCharset = Charset::Latin1;
  const auto flush = [&] {
    if (inRun) decoded.text += ToCp932(runCharset, run, fromUtf8);
    run.clear();
    inRun = false;
  };
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const Segment& segment = segments[i];
    if (!segment.word) {
      const bool betweenWords = inRun && i + 1 < segments.size() && segments[i + 1].word;
      if (betweenWords && IsAllWhitespace(segment.text)) continue;
      flush();
      decoded.text += segment.text;
      continue;
    }
    if (decoded.charset.empty()) decoded.charset = segment.word->charsetName;
    if (inRun && runCharset != segment.word->charset) flush();
    inRun = true;
    runCharset = segment.word->charset;
    run += segment.word->bytes;
  }
  flush();
  return decoded;
}

}  // namespace hostcodec
