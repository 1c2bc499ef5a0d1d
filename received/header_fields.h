#pragma once
// Header fields of a message or a part, read among its header lines: a field runs on over the
// continuation lines below it (lines that begin with a blank), and its name matches in any
// letter case.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "received/message_lines.h"

namespace vlm {

// The value of the header field `name` among lines [0, headerEnd), continuation lines joined by
// one space, outer blanks removed; nothing when the header lacks the field.
[[nodiscard]] std::optional<std::string> HeaderField(const TLineList& lines, size_t headerEnd,
                                                     std::string_view name);

// The line where the field `name` starts in [0, headerEnd), and one past its continuation lines.
struct TFieldLines {
  size_t First = kNoLine;
  size_t End = kNoLine;
};
[[nodiscard]] TFieldLines FindHeaderField(const TLineList& lines, size_t headerEnd,
                                          std::string_view name);

// Whether the line continues the field above it.
[[nodiscard]] inline bool IsContinuation(std::string_view line) {
  return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// Whether the line starts a header field: a name of printable characters, blanks allowed before
// its colon as old mail writes them.
[[nodiscard]] bool IsFieldLine(std::string_view line);

// Whether lines [0, headerEnd) form a header a strict reader takes as one: at least one line,
// the first a field, every other a field or a continuation. A text that is no mail (a binary file
// stored as a message) or a header with a stray line would be read as one body once rewritten.
[[nodiscard]] bool IsWellFormedHeader(const TLineList& lines, size_t headerEnd);

}  // namespace vlm
