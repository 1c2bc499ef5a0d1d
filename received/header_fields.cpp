#include "received/header_fields.h"

#include <algorithm>

namespace vlm {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

TFieldLines FindHeaderField(const TLineList& lines, size_t headerEnd, std::string_view name) {
  const std::string prefix = std::string(name) + ":";
  const size_t end = std::min(headerEnd, lines.size());
  for (size_t i = 0; i < end; ++i) {
    if (!StartsWithIgnoringCase(lines[i], prefix)) continue;
    size_t last = i + 1;
    while (last < end && IsContinuation(lines[last])) ++last;
    return {i, last};
  }
  return {};
}

std::optional<std::string> HeaderField(const TLineList& lines, size_t headerEnd,
                                       std::string_view name) {
  const TFieldLines field = FindHeaderField(lines, headerEnd, name);
  if (field.First == kNoLine) return std::nullopt;
  std::string value(Trim(lines[field.First].substr(name.size() + 1)));
  for (size_t i = field.First + 1; i < field.End; ++i) {
    const std::string_view more = Trim(lines[i]);
    if (more.empty()) continue;
    if (!value.empty()) value += ' ';
    value += more;
  }
  return value;
}

bool IsFieldLine(std::string_view line) {
  size_t at = 0;
  while (at < line.size() && line[at] > ' ' && line[at] < 0x7F && line[at] != ':') ++at;
  if (at == 0) return false;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  return at < line.size() && line[at] == ':';
}

bool IsWellFormedHeader(const TLineList& lines, size_t headerEnd) {
  const size_t end = std::min(headerEnd, lines.size());
  if (end == 0 || !IsFieldLine(lines[0])) return false;
  for (size_t i = 1; i < end; ++i)
    if (!IsFieldLine(lines[i]) && !IsContinuation(lines[i])) return false;
  return true;
}

}  // namespace vlm
