#pragma once
// The outgoing message as a list of lines. The send checks read messages of many megabytes while
// the user waits, so lines are views into the one decoded text and nothing is shifted or copied.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vlm {

// The message text from the host's code page as wide text, the same as FromAnsi gives. Stretches
// of ASCII-only lines (base64 attachments, mostly) are widened byte by byte, and only the lines
// holding other characters go through the code page conversion.
std::wstring WidenMessage(std::string_view ansi);

// Splits at CR LF, CR or LF without keeping the breaks. A break at the very end does not start a
// further, empty line, so joining every line with CR LF after it gives the text back.
std::vector<std::wstring_view> SplitLines(std::wstring_view text);

// The message lines with one extra line placed among them. The extra line is mapped in on
// access instead of being inserted, which would move every later line.
class SendLines {
 public:
  explicit SendLines(std::vector<std::wstring_view> lines) : lines_(std::move(lines)) {}

  // Places `line` at `index`; an index past the end appends. Only one line can be placed.
  void Insert(std::size_t index, std::wstring_view line);

  [[nodiscard]] std::size_t size() const { return lines_.size() + (inserted_ ? 1 : 0); }
  [[nodiscard]] std::wstring_view operator[](std::size_t index) const;

 private:
  std::vector<std::wstring_view> lines_;
  bool inserted_ = false;
  std::size_t insertedAt_ = 0;
  std::wstring_view insertedLine_;
};

}  // namespace vlm
