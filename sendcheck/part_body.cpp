#include "sendcheck/part_body.h"

#include <algorithm>
#include <array>
#include <string>
#include <cstdint>

namespace vlm {
namespace {

constexpr std::uint8_t kNotBase64 = 0xFF;
constexpr std::uint8_t kPadding = 0xFE;

constexpr std::array<std::uint8_t, 256> MakeBase64Values() {
  std::array<std::uint8_t, 256> values{};
  values.fill(kNotBase64);
  constexpr std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < alphabet.size(); ++i)
    values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::uint8_t>(i);
  values['='] = kPadding;
  return values;
}
constexpr std::array<std::uint8_t, 256> kBase64Values = MakeBase64Values();

// Hands out the lines of `text` from `at`, without their line break.
class TLineWalk {
 public:
  TLineWalk(std::string_view text, std::size_t at) : FText(text), FAt(at) {}
  std::size_t At() const { return FAt; }
  bool Next(std::string_view& line) {
    if (FAt >= FText.size()) return false;
    std::size_t end = FText.find('\n', FAt);
    if (end == std::string_view::npos) end = FText.size();
    line = FText.substr(FAt, end - FAt);
    if (line.ends_with('\r')) line.remove_suffix(1);
    FAt = end + 1;
    return true;
  }

 private:
  std::string_view FText;
  std::size_t FAt;
};

// Collects base64 characters four at a time into a buffer sized once; padding ends the data.
class TBase64Decoder {
 public:
  // `room` bounds the bytes the text can give (three for every four characters).
  explicit TBase64Decoder(std::size_t room) : FBytes(room) {}

  bool Add(std::string_view line) {
    std::size_t i = 0;
    // Whole groups of four plain characters, the body of nearly every line.
    for (; FCount == 0 && !FEnded && i + 4 <= line.size(); i += 4) {
      const std::uint32_t a = Value(line[i]), b = Value(line[i + 1]), c = Value(line[i + 2]),
                          d = Value(line[i + 3]);
      if ((a | b | c | d) >= 64) break;  // padding or a stray character: taken one by one
      FQuad = a << 18 | b << 12 | c << 6 | d;
      if (!Flush(3)) return false;
    }
    for (; i < line.size(); ++i) {
      const std::uint8_t value = Value(line[i]);
      if (value == kNotBase64 || (FEnded && value != kPadding)) return false;
      if (value == kPadding) {
        FEnded = true;
        continue;
      }
      FQuad = FQuad << 6 | value;
      if (++FCount == 4 && !Flush(3)) return false;
    }
    return true;
  }

  std::optional<std::vector<unsigned char>> Finish() {
    // Two or three characters left carry one or two bytes; one alone is broken.
    if (FCount == 1) return std::nullopt;
    if (FCount > 1) {
      const std::size_t bytes = FCount - 1;
      FQuad <<= 6 * (4 - FCount);
      if (!Flush(bytes)) return std::nullopt;
    }
    FBytes.resize(FSize);
    return std::move(FBytes);
  }

 private:
  static std::uint8_t Value(char c) { return kBase64Values[static_cast<unsigned char>(c)]; }

  bool Flush(std::size_t bytes) {
    if (FSize + bytes > FBytes.size()) return false;
    for (std::size_t i = 0; i < bytes; ++i)
      FBytes[FSize++] = static_cast<unsigned char>(FQuad >> (16 - 8 * i));
    FQuad = 0;
    FCount = 0;
    return true;
  }

  std::vector<unsigned char> FBytes;
  std::size_t FSize = 0;
  std::uint32_t FQuad = 0;
  std::size_t FCount = 0;
  bool FEnded = false;
};

}  // namespace

std::optional<TPartBody> TPartBody::Find(std::string_view message, std::size_t from,
                                         std::size_t limit) {
  TLineWalk lines(message, from);
  std::string_view line;
  while (lines.Next(line))
    if (line.empty()) break;
  TPartBody body;
  body.FMessage = message;
  // The last three lines: padding may be split across them.
  std::array<std::string_view, 3> last;
  std::size_t count = 0;
  for (std::size_t start = lines.At(); lines.Next(line) && !line.empty() && !line.starts_with('-');
       start = lines.At(), ++count) {
    if (count == 0) {
      body.FFirstLine = start;
      body.FLineLength = line.size();
      body.FStride = lines.At() - start;
    } else if (last[0].size() != body.FLineLength ||
               start - body.FFirstLine != count * body.FStride) {
      body.FUniform = false;
    }
    last = {line, last[0], last[1]};
    body.FCharacters += line.size();
    if (body.FCharacters / 4 * 3 > limit + 3) return std::nullopt;
  }
  if (count > 0 && (body.FLineLength == 0 || last[0].size() > body.FLineLength))
    body.FUniform = false;
  if (!body.FUniform) body.ListLines(message, from);
  // Padding stands only at the end: up to two "=" after the data.
  std::size_t padding = 0;
  for (std::string_view rest : last) {
    while (rest.ends_with('=') && padding <= 2) {
      rest.remove_suffix(1);
      ++padding;
    }
    if (!rest.empty()) break;
  }
  const std::size_t data = body.FCharacters - padding;
  if (padding > 2 || data % 4 == 1 || (padding != 0 && body.FCharacters % 4 != 0))
    return std::nullopt;
  body.FSize = data / 4 * 3 + (data % 4 == 0 ? 0 : data % 4 - 1);
  if (body.FSize > limit) return std::nullopt;
  return body;
}

void TPartBody::ListLines(std::string_view message, std::size_t from) {
  TLineWalk lines(message, from);
  std::string_view line;
  while (lines.Next(line))
    if (line.empty()) break;
  std::size_t characters = 0;
  while (lines.Next(line) && !line.empty() && !line.starts_with('-')) {
    FLines.push_back(line);
    FLineStarts.push_back(characters);
    characters += line.size();
  }
}

std::size_t TPartBody::LineCount() const {
  if (!FUniform) return FLines.size();
  return FLineLength == 0 ? 0 : (FCharacters + FLineLength - 1) / FLineLength;
}

std::size_t TPartBody::LineOf(std::size_t at) const {
  if (FUniform) return at / FLineLength;
  return static_cast<std::size_t>(std::upper_bound(FLineStarts.begin(), FLineStarts.end(), at) -
                                  FLineStarts.begin() - 1);
}

std::pair<std::string_view, std::size_t> TPartBody::Line(std::size_t index) const {
  if (!FUniform) return {FLines[index], FLineStarts[index]};
  const std::size_t before = index * FLineLength;
  return {
      FMessage.substr(FFirstLine + index * FStride, std::min(FLineLength, FCharacters - before)),
      before};
}

std::string TPartBody::Characters(std::size_t first, std::size_t end) const {
  std::string text;
  text.reserve(end - first);
  for (std::size_t index = LineOf(first); index < LineCount(); ++index) {
    const auto [line, before] = Line(index);
    if (before >= end) break;
    const std::size_t skip = first > before ? first - before : 0;
    const std::size_t take = std::min(line.size(), end - before);
    if (take > skip) text.append(line.substr(skip, take - skip));
  }
  return text;
}

std::optional<std::vector<unsigned char>> TPartBody::Read(std::size_t at, std::size_t size) const {
  if (at > FSize || size > FSize - at) return std::nullopt;
  if (size == 0) return std::vector<unsigned char>();
  // Every three bytes are four characters: decode the groups that hold the range.
  const std::size_t first = at / 3 * 4;
  const std::size_t end = std::min(FCharacters, (at + size + 2) / 3 * 4);
  TBase64Decoder decoder((end - first) / 4 * 3 + 3);
  if (!decoder.Add(Characters(first, end))) return std::nullopt;
  auto bytes = decoder.Finish();
  if (!bytes || bytes->size() < at % 3 + size) return std::nullopt;
  return std::vector<unsigned char>(bytes->begin() + at % 3, bytes->begin() + at % 3 + size);
}

}  // namespace vlm
