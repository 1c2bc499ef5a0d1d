#include "tests/archivers/common/recorder_script.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "tests/archivers/common/ansi_path.h"

namespace standin {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

int Number(const std::string& text) {
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 0));
}

std::vector<std::string> SplitTabs(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = text.find('\t', start);
    fields.push_back(text.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

MemberInfo Member(const std::string& rest) {
  std::vector<std::string> fields = SplitTabs(rest);
  MemberInfo member;
  member.name = fields[0];
  if (fields.size() > 1) member.originalSize = static_cast<std::uint32_t>(Number(fields[1]));
  if (fields.size() > 2) member.compressedSize = static_cast<std::uint32_t>(Number(fields[2]));
  int y, mo, d, h, mi, s;
  if (fields.size() > 3 &&
      std::sscanf(fields[3].c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) == 6) {
    member.dosDate = static_cast<std::uint16_t>(((y - 1980) << 9) | (mo << 5) | d);
    member.dosTime = static_cast<std::uint16_t>((h << 11) | (mi << 5) | (s / 2));
    member.unixTime = UnixFromDos(member.dosDate, member.dosTime);
  }
  if (fields.size() > 4) member.attribute = fields[4];
  if (fields.size() > 5) member.mode = fields[5];
  member.ratio = RatioOf(member.compressedSize, member.originalSize);
  return member;
}

}  // namespace

RecorderScript ParseRecorderScript(std::string_view text, std::string_view dllName) {
  RecorderScript script;
  std::string dll = Upper(dllName);
  bool applies = true;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[' && line.back() == ']') {
      std::string section = Upper(line.substr(1, line.size() - 2));
      applies = section == "*" || section == dll;
      continue;
    }
    if (!applies) continue;
    size_t space = line.find(' ');
    std::string word = line.substr(0, space);
    std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (word == "result") {
      size_t gap = rest.find(' ');
      if (gap != std::string::npos)
        script.results[rest.substr(0, gap)] = Number(rest.substr(gap + 1));
    } else if (word == "output") {
      script.output += rest + "\r\n";
    } else if (word == "member") {
      script.members.push_back(Member(rest));
    } else if (word == "progress") {
      size_t gap = rest.find(' ');
      std::vector<std::string> names =
          SplitTabs(gap == std::string::npos ? "" : rest.substr(gap + 1));
      ProgressRecord record;
      record.sourceName = names[0];
      if (names.size() > 1) record.destName = names[1];
      script.progress.push_back({static_cast<ProgressState>(Number(rest.substr(0, gap))), record});
    } else if (word == "memory") {
      script.memory = rest;
    } else if (word == "password") {
      script.password = rest;
    } else if (word == "dialog") {
      size_t gap = rest.find(' ');
      script.dialogResult = Number(rest.substr(0, gap));
      script.dialogPassword = gap == std::string::npos ? "" : rest.substr(gap + 1);
    }
  }
  return script;
}

}  // namespace standin
