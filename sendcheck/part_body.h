#pragma once
// One attachment of the outgoing message as the base64 lines of its part, read a range of bytes
// at a time: an archive's directory is found without decoding (or holding) the whole file.
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace vlm {

class TPartBody {
 public:
  // The body of the part whose header holds the line at `from` (an offset in `message`): the
  // header runs to the first empty line, the body from there to the next empty line, a line
  // beginning with "-" (the boundary) or the end of the text. Nothing when the body is not base64
  // in form (a count of characters no decoder accepts, padding before the end) or would decode to
  // more than `limit` bytes: the walk stops there.
  [[nodiscard]] static std::optional<TPartBody> Find(std::string_view message, std::size_t from,
                                                     std::size_t limit);

  // The number of bytes the body decodes to.
  std::size_t Size() const { return FSize; }
  // The bytes from `at` on, `size` of them; nothing when they lie beyond Size() or their text is
  // not clean base64. Only the lines that hold them are decoded.
  [[nodiscard]] std::optional<std::vector<unsigned char>> Read(std::size_t at,
                                                               std::size_t size) const;

 private:
  TPartBody() = default;
  // Line `index` of the body and the number of characters before it.
  std::pair<std::string_view, std::size_t> Line(std::size_t index) const;
  std::size_t LineCount() const;
  // Lists every line of the body (from the same `from` as Find) when they are not uniform.
  void ListLines(std::string_view message, std::size_t from);
  // The line holding character `at`.
  std::size_t LineOf(std::size_t at) const;
  // The body's characters from `first` (a multiple of four) up to `end`, gathered across lines.
  std::string Characters(std::size_t first, std::size_t end) const;

  // Encoders write every line but the last of one length: then a line is found by arithmetic
  // and nothing is kept per line. Otherwise every line is listed.
  std::string_view FMessage;
  std::size_t FFirstLine = 0;   // where the body's first line starts in the message
  std::size_t FLineLength = 0;  // the characters of every full line
  std::size_t FStride = 0;      // from one line's start to the next (line break included)
  bool FUniform = true;
  std::vector<std::string_view> FLines;  // only when the lines are not uniform
  std::vector<std::size_t> FLineStarts;  // the number of characters before each listed line
  std::size_t FCharacters = 0;
  std::size_t FSize = 0;
};

}  // namespace vlm
