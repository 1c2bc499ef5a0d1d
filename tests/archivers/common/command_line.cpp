#include "tests/archivers/common/command_line.h"

#include <cctype>
#include <fstream>
#include <iterator>

#include "tests/archivers/common/ansi_path.h"
#include "tests/archivers/common/result_codes.h"

namespace standin {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> tokens;
  std::string current;
  bool inToken = false;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inToken = true;
    } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
      if (inToken) tokens.push_back(current);
      current.clear();
      inToken = false;
    } else {
      current += c;
      inToken = true;
    }
  }
  if (inToken) tokens.push_back(current);
  return tokens;
}

std::vector<std::string> ReadResponseFile(std::string_view ansiName) {
  std::ifstream in(PathFromAnsi(ansiName), std::ios::binary);
  if (!in) throw ArchiverError{kErrorResponseRead, "response file cannot be read"};
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> names;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
      line.pop_back();
    }
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    line.erase(0, first);
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
      line = line.substr(1, line.size() - 2);
    }
    if (!line.empty()) names.push_back(line);
  }
  return names;
}

std::vector<std::string> ExpandResponseFiles(const std::vector<std::string>& tokens) {
  std::vector<std::string> expanded;
  for (const std::string& token : tokens) {
    if (token.size() > 1 && token[0] == '@') {
      for (std::string& name : ReadResponseFile(std::string_view(token).substr(1))) {
        expanded.push_back(std::move(name));
      }
    } else {
      expanded.push_back(token);
    }
  }
  return expanded;
}

namespace {

char Fold(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Matches one "[...]" class at mask[0]; returns the class length, or 0 when it is not a class.
size_t MatchClass(std::string_view mask, char c, bool& matched) {
  size_t close = mask.find(']', 2);
  if (close == std::string_view::npos) return 0;
  matched = false;
  for (size_t i = 1; i < close; ++i) {
    if (i + 2 < close && mask[i + 1] == '-') {
      if (Fold(c) >= Fold(mask[i]) && Fold(c) <= Fold(mask[i + 2])) matched = true;
      i += 2;
    } else if (Fold(mask[i]) == Fold(c)) {
      matched = true;
    }
  }
  return close + 1;
}

bool Match(std::string_view mask, std::string_view name) {
  while (!mask.empty()) {
    char m = mask[0];
    if (m == '*') {
      mask.remove_prefix(1);
      for (size_t skip = 0; skip <= name.size(); ++skip) {
        if (Match(mask, name.substr(skip))) return true;
      }
      return false;
    }
    if (name.empty()) return false;
    if (m == '[') {
      bool matched = false;
      size_t length = MatchClass(mask, name[0], matched);
      if (length != 0) {
        if (!matched) return false;
        mask.remove_prefix(length);
        name.remove_prefix(1);
        continue;
      }
    }
    if (m != '?' && Fold(m) != Fold(name[0])) return false;
    mask.remove_prefix(1);
    name.remove_prefix(1);
  }
  return name.empty();
}

}  // namespace

bool WildcardMatch(std::string_view mask, std::string_view name) {
  if (mask == "*.*" || mask == "*") return true;
  return Match(mask, name);
}

bool HasWildcard(std::string_view name) {
  return name.find_first_of("*?[") != std::string_view::npos;
}

std::string UnescapeBrackets(std::string_view name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '[' && i + 2 < name.size() && name[i + 2] == ']') {
      out += name[i + 1];
      i += 2;
    } else {
      out += name[i];
    }
  }
  return out;
}

std::string NormalizeMemberName(std::string_view name) {
  if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]))) {
    name.remove_prefix(2);
  }
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && i + 1 < name.size()) {
      part += name[i];
      part += name[++i];
    } else if (c == '\\' || c == '/') {
      flush();
    } else {
      part += name[i];
    }
  }
  flush();
  std::string joined;
  for (const std::string& p : parts) {
    if (!joined.empty()) joined += '/';
    joined += p;
  }
  return joined;
}

std::pair<std::string, std::string> SplitLastComponent(std::string_view name) {
  size_t cut = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && i + 1 < name.size()) {
      ++i;
    } else if (c == '\\' || c == '/' || c == ':') {
      cut = i + 1;
    }
  }
  return {std::string(name.substr(0, cut)), std::string(name.substr(cut))};
}

}  // namespace standin
