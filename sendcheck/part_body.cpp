#include "sendcheck/part_body.h"

#include <array>
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
  TBase64Decoder(std::size_t limit, std::size_t room) : FLimit(limit), FBytes(room) {}

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
    if (FSize + bytes > FLimit || FSize + bytes > FBytes.size()) return false;
    for (std::size_t i = 0; i < bytes; ++i)
      FBytes[FSize++] = static_cast<unsigned char>(FQuad >> (16 - 8 * i));
    FQuad = 0;
    FCount = 0;
    return true;
  }

  std::size_t FLimit;
  std::vector<unsigned char> FBytes;
  std::size_t FSize = 0;
  std::uint32_t FQuad = 0;
  std::size_t FCount = 0;
  bool FEnded = false;
};

}  // namespace

std::optional<std::vector<unsigned char>> DecodePartBody(std::string_view message, std::size_t from,
                                                         std::size_t limit) {
  TLineWalk lines(message, from);
  std::string_view line;
  while (lines.Next(line))
    if (line.empty()) break;
  // The body's extent first, so that the bytes are written into one buffer of the right size.
  std::vector<std::string_view> body;
  std::size_t characters = 0;
  while (lines.Next(line) && !line.empty() && !line.starts_with('-')) {
    characters += line.size();
    if (characters / 4 * 3 > limit + 3) return std::nullopt;
    body.push_back(line);
  }
  TBase64Decoder decoder(limit, characters / 4 * 3 + 3);
  for (const std::string_view part : body)
    if (!decoder.Add(part)) return std::nullopt;
  return decoder.Finish();
}

}  // namespace vlm
