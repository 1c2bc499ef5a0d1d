#include "sendcheck/message_lines.h"

#include <stdexcept>

#include "plugin/ansi_text.h"

namespace vlm {
namespace {

// ASCII stretches shorter than this between 8-bit lines are converted along with them, so that
// a Japanese text with short ASCII lines is converted in a few calls, not one call per line.
constexpr std::size_t kShortAsciiStretch = 4096;

bool IsEightBit(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}
bool IsLineBreak(char c) {
  return c == '\r' || c == '\n';
}

std::size_t NextEightBit(std::string_view text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i)
    if (IsEightBit(text[i])) return i;
  return std::string_view::npos;
}

void AppendWidened(std::string_view ascii, std::wstring& wide) {
  for (const char c : ascii) wide += static_cast<wchar_t>(c);
}

}  // namespace

std::wstring WidenMessage(std::string_view ansi) {
  std::wstring wide;
  wide.reserve(ansi.size());
  std::size_t pos = 0;
  while (pos < ansi.size()) {
    std::size_t eightBit = NextEightBit(ansi, pos);
    if (eightBit == std::string_view::npos) {
      AppendWidened(ansi.substr(pos), wide);
      break;
    }
    // Conversions start and end at line breaks, which never fall inside a two-byte character.
    std::size_t blockStart = eightBit;
    while (blockStart > pos && !IsLineBreak(ansi[blockStart - 1])) --blockStart;
    std::size_t blockEnd = eightBit;
    for (;;) {
      while (blockEnd < ansi.size() && !IsLineBreak(ansi[blockEnd])) ++blockEnd;
      eightBit = NextEightBit(ansi, blockEnd);
      if (eightBit == std::string_view::npos || eightBit - blockEnd >= kShortAsciiStretch) break;
      blockEnd = eightBit;
    }
    AppendWidened(ansi.substr(pos, blockStart - pos), wide);
    wide += FromAnsi(ansi.substr(blockStart, blockEnd - blockStart));
    pos = blockEnd;
  }
  return wide;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c != L'\r' && c != L'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void SendLines::Insert(std::size_t index, std::wstring_view line) {
  if (inserted_) throw std::logic_error("only one line can be placed among the message lines");
  inserted_ = true;
  insertedAt_ = index < lines_.size() ? index : lines_.size();
  insertedLine_ = line;
}

std::wstring_view SendLines::operator[](std::size_t index) const {
  if (!inserted_ || index < insertedAt_) return lines_[index];
  if (index == insertedAt_) return insertedLine_;
  return lines_[index - 1];
}

}  // namespace vlm
