#include "sendcheck/message_lines.h"

#include <stdexcept>

namespace vlm {

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
