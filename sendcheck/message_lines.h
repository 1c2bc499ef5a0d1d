#pragma once
// The outgoing message as a list of lines. The send checks read messages of many megabytes while
// the user waits, so lines are views and nothing is shifted: a line of ASCII characters only (the
// bulk of a large message is base64) is read straight from the host's bytes, and only the lines
// holding other characters are converted from the code page.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vlm {

// Splits at CR LF, CR or LF without keeping the breaks. A break at the very end does not start a
// further, empty line, so joining every line with CR LF after it gives the text back.
template <class Char>
std::vector<std::basic_string_view<Char>> SplitLines(std::basic_string_view<Char> text) {
  using Traits = std::char_traits<Char>;
  // Line feeds are found first and carriage returns only within each line, both by the library's
  // fast search, because these loops run over every byte of large messages.
  const auto indexOf = [&](Char c, std::size_t from, std::size_t to) {
    const Char* hit = Traits::find(text.data() + from, to - from, c);
    return hit ? static_cast<std::size_t>(hit - text.data()) : to;
  };
  std::vector<std::basic_string_view<Char>> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = indexOf('\r', start, indexOf('\n', start, text.size()));
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

// One line: ASCII bytes of the host's text, or wide text.
class MessageLine {
 public:
  static constexpr std::size_t npos = std::wstring_view::npos;

  MessageLine() = default;
  explicit MessageLine(std::string_view ascii) : ascii_(ascii) {}
  explicit MessageLine(std::wstring_view wide) : wide_(wide), isWide_(true) {}

  // Characters in the line.
  [[nodiscard]] std::size_t size() const { return isWide_ ? wide_.size() : ascii_.size(); }
  // Where `text` first occurs (case-sensitive), or npos.
  [[nodiscard]] std::size_t find(std::wstring_view text) const;
  [[nodiscard]] bool Contains(std::wstring_view text) const { return find(text) != npos; }
  [[nodiscard]] bool BeginsWith(std::wstring_view text) const;
  // Equal as a whole, ignoring the case of the letters A to Z.
  [[nodiscard]] bool EqualsIgnoringCase(std::wstring_view text) const;
  [[nodiscard]] std::wstring ToWide() const;

 private:
  [[nodiscard]] wchar_t At(std::size_t i) const {
    return isWide_ ? wide_[i] : static_cast<wchar_t>(ascii_[i]);
  }

  std::string_view ascii_;
  std::wstring_view wide_;
  bool isWide_ = false;
};

// The message lines, with one extra line placed among them. The extra line is mapped in on
// access instead of being inserted, which would move every later line.
class SendLines {
 public:
  // Splits `ansi`, text in the host's code page that must outlive the list.
  explicit SendLines(std::string_view ansi);
  SendLines(const SendLines&) = delete;
  SendLines& operator=(const SendLines&) = delete;

  // Places `line` at `index`; an index past the end appends. Only one line can be placed.
  void Insert(std::size_t index, std::wstring line);

  [[nodiscard]] std::size_t size() const { return lines_.size() + (inserted_ ? 1 : 0); }
  [[nodiscard]] MessageLine operator[](std::size_t index) const;

 private:
  std::wstring converted_;  // the lines that are not ASCII only, converted block by block
  std::vector<MessageLine> lines_;
  bool inserted_ = false;
  std::size_t insertedAt_ = 0;
  std::wstring insertedLine_;
};

}  // namespace vlm
