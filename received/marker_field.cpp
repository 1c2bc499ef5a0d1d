#include "received/marker_field.h"

#include <algorithm>

namespace vlm {
namespace {

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < text.size()) {
    const size_t from = text.find_first_not_of(" \t", at);
    if (from == std::string_view::npos) break;
    const size_t to = std::min(text.find_first_of(" \t", from), text.size());
    words.emplace_back(text.substr(from, to - from));
    at = to;
  }
  return words;
}

// The rewrites' own words first, in the order they happen to a message; any other word a
// field held stays behind them.
std::string JoinedValue(std::vector<std::string> words, std::string_view word) {
  words.emplace_back(word);
  std::vector<std::string> ordered;
  for (const std::string_view own : {kMarkerExpanded, kMarkerFileAdded})
    if (std::find(words.begin(), words.end(), own) != words.end()) ordered.emplace_back(own);
  for (const std::string& w : words)
    if (std::find(ordered.begin(), ordered.end(), w) == ordered.end()) ordered.push_back(w);
  std::string value;
  for (const std::string& w : ordered) value += (value.empty() ? "" : " ") + w;
  return value;
}

}  // namespace

std::string MarkerLine(std::string_view value) {
  return std::string(kMarkerHeader) + ": " + std::string(value);
}

bool HasMarker(const TLineList& lines, size_t headerEnd, std::string_view value) {
  const std::string prefix = std::string(kMarkerHeader) + ":";
  const size_t end = std::min(headerEnd, lines.size());
  for (size_t i = 0; i < end; ++i)
    if (StartsWithIgnoringCase(lines[i], prefix) && lines[i].find(value) != std::string_view::npos)
      return true;
  return false;
}

TMarkerField::TMarkerField(const TLineList& lines, size_t headerEnd, std::string_view word) {
  const std::string prefix = std::string(kMarkerHeader) + ":";
  const size_t end = std::min(headerEnd, lines.size());
  std::vector<std::string> words;
  for (size_t i = 0; i < end; ++i) {
    if (!StartsWithIgnoringCase(lines[i], prefix)) continue;
    TFieldLines field{i, i + 1};
    while (field.End < end && IsContinuation(lines[field.End])) ++field.End;
    for (size_t k = i; k < field.End; ++k) {
      const auto found = Words(k == i ? lines[k].substr(prefix.size()) : lines[k]);
      words.insert(words.end(), found.begin(), found.end());
    }
    FFields.push_back(field);
    i = field.End - 1;
  }
  FValue = JoinedValue(std::move(words), word);
}

bool TMarkerField::StartsAt(size_t line) const {
  return !FFields.empty() && FFields.front().First == line;
}

bool TMarkerField::Covers(size_t line) const {
  return std::any_of(FFields.begin(), FFields.end(),
                     [&](const TFieldLines& f) { return line >= f.First && line < f.End; });
}

void WriteMarkedHeader(TLineWriter& out, const TMessageView& message, size_t headerEnd,
                       std::string_view word) {
  const TMarkerField marker(message.Lines, headerEnd, word);
  for (size_t i = 0; i < headerEnd && i < message.Lines.size(); ++i) {
    if (marker.StartsAt(i))
      out.Line(marker.Line());
    else if (!marker.Covers(i))
      out.KeptLine(message.Span(i, i + 1));
  }
  if (!marker.Found()) out.Line(marker.Line());
}

}  // namespace vlm
