#pragma once
// The host's 8-bit text as it stands, read line by line. Messages come from the host as C strings
// of many megabytes in its code page (or in any character set a sender chose): lines are found
// with memchr and handed out as views into the host's text, never copied or converted.
#include <cstddef>
#include <string_view>
#include <vector>

namespace vlm {

// A host text, or empty for a null pointer.
[[nodiscard]] inline std::string_view HostText(const char* text) {
  return text ? std::string_view(text) : std::string_view();
}

// Hands out the lines of a text one by one, split at CR LF, CR or LF, without the breaks. A break
// at the very end does not start a further, empty line.
class TLineReader {
 public:
  explicit TLineReader(std::string_view text) : FText(text) {}
  // The next line, or false at the end of the text.
  bool Next(std::string_view& line);

 private:
  std::string_view FText;
  std::size_t FAt = 0;
  // The next line feed at or after FAt (the text's size for none), kNotSought before the first
  // search. A text of bare CR breaks has its next line feed far ahead or none: sought again for
  // every line, the rest of the text would be read once per line.
  static constexpr std::size_t kNotSought = static_cast<std::size_t>(-1);
  std::size_t FFeed = kNotSought;
};

// All lines of a text as TLineReader hands them out, for readers that go back and forth among
// them. The views point into `text`.
using TLineList = std::vector<std::string_view>;
[[nodiscard]] TLineList SplitLines(std::string_view text);

}  // namespace vlm
