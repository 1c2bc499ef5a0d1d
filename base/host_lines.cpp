#include "base/host_lines.h"

#include <cstring>

namespace vlm {

bool TLineReader::Next(std::string_view& line) {
  if (FAt >= FText.size()) return false;
  const char* begin = FText.data() + FAt;
  const std::size_t left = FText.size() - FAt;
  // Line feeds are found first and carriage returns only within the line.
  if (FFeed == kNotSought || FFeed < FAt) {
    const void* feed = std::memchr(begin, '\n', left);
    FFeed = feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - FText.data())
                 : FText.size();
  }
  std::size_t length = FFeed - FAt;
  if (const void* ret = std::memchr(begin, '\r', length))
    length = static_cast<std::size_t>(static_cast<const char*>(ret) - begin);
  line = std::string_view(begin, length);
  FAt += length + 1;
  if (length < left && begin[length] == '\r' && FAt < FText.size() && FText[FAt] == '\n') ++FAt;
  return true;
}

TLineList SplitLines(std::string_view text) {
  TLineList lines;
  // Counted first: a message of tens of megabytes has hundreds of thousands of lines, and a
  // growing list would copy itself over and over.
  std::size_t breaks = 0;
  for (const char *p = text.data(), *end = p + text.size();
       p != end &&
       (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))));
       ++p)
    ++breaks;
  lines.reserve(breaks + 1);
  TLineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.push_back(line);
  return lines;
}

}  // namespace vlm
