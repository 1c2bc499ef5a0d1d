#pragma once
// A stored message as lines: read from the host's text and written anew, line by line.
//
// A stored message is worked on as the host's 8-bit text, and its lines are handed back byte for
// byte. Received mail carries 8-bit text in any character set (UTF-8 bodies, Latin-1 headers); a
// trip through the code page would replace what it cannot map and damage those lines. Only the
// text the plug-in writes itself is converted.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "base/host_lines.h"

namespace vlm {

inline constexpr size_t kNoLine = static_cast<size_t>(-1);

// A text built line by line, every line followed by CR LF: into a string of its own, into a
// buffer of a size known beforehand, or only counted, to learn that size.
class TLineWriter {
 public:
  TLineWriter() = default;
  // Writes into `buffer` of `capacity` bytes; a line that would not fit raises EReceivedMail.
  TLineWriter(char* buffer, size_t capacity) : FBuffer(buffer), FCapacity(capacity) {}
  // Writes nothing and only counts the bytes.
  [[nodiscard]] static TLineWriter Counting() {
    TLineWriter writer;
    writer.FCounting = true;
    return writer;
  }

  void Reserve(size_t bytes) { FText.reserve(bytes); }
  void Line(std::string_view line);
  void Lines(const TLineList& lines, size_t from, size_t to);
  // Bytes kept from the message as they stand, line breaks of any kind included.
  void Bytes(std::string_view bytes) { Append(bytes); }
  // A line kept with its own break (see TMessageView::Span); CR LF when it has none, which only
  // the last line of a text may lack, since more lines follow it here.
  void KeptLine(std::string_view lineWithBreak);
  // Each line of `text` (as TLineReader reads it), without a list of them in between.
  void TextLines(std::string_view text);
  // The bytes written (or counted) so far.
  [[nodiscard]] size_t Size() const { return FBuffer || FCounting ? FSize : FText.size(); }
  [[nodiscard]] const std::string& Text() const { return FText; }
  [[nodiscard]] std::string Take() { return std::move(FText); }

 private:
  void Append(std::string_view bytes);
  void CountTextLines(std::string_view text);

  std::string FText;
  char* FBuffer = nullptr;
  size_t FCapacity = 0;
  size_t FSize = 0;
  bool FCounting = false;
};

[[nodiscard]] bool StartsWith(std::string_view line, std::string_view prefix);
[[nodiscard]] bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix);

// The index of the first empty line, the end of the message header; kNoLine when there is none.
[[nodiscard]] size_t HeaderEnd(const TLineList& lines);

}  // namespace vlm
