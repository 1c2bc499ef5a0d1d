#include "sendcheck/message_lines.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "base/ansi_text.h"
#include "base/text.h"

namespace vlm {
namespace {

// ASCII stretches shorter than this between lines with 8-bit bytes are converted along with
// them, so that a Japanese text is converted in a few calls, not in one call per line.
constexpr std::size_t kShortAsciiStretch = 4096;

bool HasEightBit(std::string_view line) {
  return std::any_of(line.begin(), line.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool IsAscii(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

std::size_t FindInAscii(std::string_view line, std::wstring_view text) {
  if (text.empty()) return 0;
  if (text.size() > line.size() || !IsAscii(text)) return MessageLine::npos;
  const char first = static_cast<char>(text[0]);
  const std::size_t lastStart = line.size() - text.size();
  for (std::size_t at = 0; at <= lastStart; ++at) {
    const void* hit = std::memchr(line.data() + at, first, lastStart - at + 1);
    if (!hit) break;
    at = static_cast<std::size_t>(static_cast<const char*>(hit) - line.data());
    if (std::equal(text.begin() + 1, text.end(), line.begin() + at + 1,
                   [](wchar_t w, char c) { return w == static_cast<wchar_t>(c); }))
      return at;
  }
  return MessageLine::npos;
}

// The bytes from the start of `first` to the end of `last`.
std::string_view Span(std::string_view first, std::string_view last) {
  return {first.data(), static_cast<std::size_t>(last.data() + last.size() - first.data())};
}

}  // namespace

std::size_t MessageLine::find(std::wstring_view text) const {
  return isWide_ ? wide_.find(text) : FindInAscii(ascii_, text);
}

bool MessageLine::BeginsWith(std::wstring_view text) const {
  if (text.size() > size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (At(i) != text[i]) return false;
  return true;
}

bool MessageLine::EqualsIgnoringCase(std::wstring_view text) const {
  if (text.size() != size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (LowerAscii(At(i)) != LowerAscii(text[i])) return false;
  return true;
}

std::wstring MessageLine::ToWide() const {
  return isWide_ ? std::wstring(wide_) : std::wstring(ascii_.begin(), ascii_.end());
}

SendLines::SendLines(std::string_view ansi) {
  const std::vector<std::string_view> bytes = SplitLines(ansi);
  // Convert first, remembering each block's place, and take views once converted_ stops growing.
  struct Block {
    std::size_t first, last, offset, length;
  };
  std::vector<Block> blocks;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (!HasEightBit(bytes[i])) continue;
    std::size_t last = i;
    for (std::size_t j = i + 1; j < bytes.size(); ++j) {
      if (HasEightBit(bytes[j])) {
        last = j;
      } else if (static_cast<std::size_t>(bytes[j].data() - bytes[last].data()) >=
                 bytes[last].size() + kShortAsciiStretch) {
        break;
      }
    }
    // Blocks begin and end at line breaks, which never fall inside a two-byte character.
    std::wstring wide = FromAnsi(Span(bytes[i], bytes[last]));
    blocks.push_back({i, last, converted_.size(), wide.size()});
    if (converted_.empty())
      converted_ = std::move(wide);
    else
      converted_ += wide;
    i = last;
  }

  lines_.reserve(bytes.size());
  std::size_t next = 0;
  for (const Block& block : blocks) {
    for (; next < block.first; ++next) lines_.emplace_back(bytes[next]);
    const std::wstring_view wide = std::wstring_view(converted_).substr(block.offset, block.length);
    for (const std::wstring_view line : SplitLines(wide)) lines_.emplace_back(line);
    next = block.last + 1;
  }
  for (; next < bytes.size(); ++next) lines_.emplace_back(bytes[next]);
}

void SendLines::Insert(std::size_t index, std::wstring line) {
  if (inserted_) throw std::logic_error("only one line can be placed among the message lines");
  inserted_ = true;
  insertedAt_ = std::min(index, lines_.size());
  insertedLine_ = std::move(line);
}

MessageLine SendLines::operator[](std::size_t index) const {
  if (!inserted_ || index < insertedAt_) return lines_[index];
  if (index == insertedAt_) return MessageLine(std::wstring_view(insertedLine_));
  return lines_[index - 1];
}

}  // namespace vlm
