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
  // Whether the line handed out last holds only 7-bit bytes: learnt while its break was sought,
  // so that readers of messages of many megabytes need not read an ASCII line again.
  [[nodiscard]] bool LineIsAscii() const { return FLineAscii; }

  // Lines passed over by SkipAsciiLines: how many, and their bytes without the breaks.
  struct TSkipped {
    std::size_t Lines = 0;
    std::size_t Bytes = 0;
  };
  // Passes over the lines from the reader's position on that Next would hand out, as long as
  // each ends with a break before offset `before`, holds only 7-bit bytes and is not
  // `avoidSize` bytes long (0: any size); stops before the first other line, or earlier within
  // the last sixteen bytes before `before`. For readers that need only the number and size of
  // most lines: they are read sixteen bytes at a time, with no work for each line but its count.
  TSkipped SkipAsciiLines(std::size_t before, std::size_t avoidSize = 0);

 private:
  std::string_view FText;
  std::size_t FAt = 0;
  bool FLineAscii = true;
};

// All lines of a text as TLineReader hands them out, for readers that go back and forth among
// them. The views point into `text`.
using TLineList = std::vector<std::string_view>;
[[nodiscard]] TLineList SplitLines(std::string_view text);

}  // namespace vlm
