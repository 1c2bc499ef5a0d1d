// The host's view of a stored message, in its main window: the message in the mail list, and its
// header lines and MIME parts (type, file name, size) in the preview pane. For pictures of what
// the plug-in did to a message; the transcript gets the part count.
//   view-mail <id>
#include <windows.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/host_services.h"
#include "tests/host/host_world.h"
#include "tests/host/scenario.h"
#include "tests/host/transcript.h"

namespace host {
namespace {

struct Part {
  std::string type;
  std::string name;
  size_t bytes = 0;
};

std::string Lower(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Header lines with their continuations joined, up to the empty line; `next` is then the first
// body line.
std::vector<std::string> HeaderLines(const std::vector<std::string>& lines, size_t& next) {
  std::vector<std::string> header;
  for (; next < lines.size() && !lines[next].empty(); ++next) {
    const char first = lines[next][0];
    if ((first == ' ' || first == '\t') && !header.empty()) {
      const size_t text = lines[next].find_first_not_of(" \t");
      header.back().push_back(' ');
      if (text != std::string::npos) header.back().append(lines[next], text);
    } else
      header.push_back(lines[next]);
  }
  if (next < lines.size()) ++next;
  return header;
}

std::string Field(const std::vector<std::string>& header, const std::string& name) {
  const std::string wanted = Lower(name) + ":";
  for (const auto& line : header)
    if (Lower(line.substr(0, wanted.size())) == wanted) {
      const size_t start = line.find_first_not_of(' ', wanted.size());
      return start == std::string::npos ? "" : line.substr(start);
    }
  return "";
}

// A parameter of a header field (boundary, name, filename), quoted or bare.
std::string Parameter(const std::string& field, const std::string& name) {
  const size_t at = Lower(field).find(Lower(name) + "=");
  if (at == std::string::npos) return "";
  size_t start = at + name.size() + 1;
  if (start < field.size() && field[start] == '"') {
    const size_t end = field.find('"', start + 1);
    return field.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
  }
  const size_t end = field.find_first_of("; \t", start);
  return field.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

Part ReadPart(const std::vector<std::string>& lines, size_t begin, size_t end) {
  size_t next = begin;
  const auto header = HeaderLines(lines, next);
  Part part;
  const std::string type = Field(header, "Content-Type");
  part.type = type.substr(0, type.find(';'));
  part.name = Parameter(Field(header, "Content-Disposition"), "filename");
  if (part.name.empty()) part.name = Parameter(type, "name");
  const bool base64 = Lower(Field(header, "Content-Transfer-Encoding")) == "base64";
  for (size_t i = next; i < end; ++i) {
    if (!base64) {
      part.bytes += lines[i].size() + 2;
      continue;
    }
    for (char c : lines[i])
      if (c != '=') part.bytes += 3;  // counted in quarters below
  }
  if (base64) part.bytes /= 4;
  return part;
}

std::vector<Part> Parts(const std::vector<std::string>& lines, size_t bodyStart,
                        const std::string& boundary) {
  std::vector<Part> parts;
  if (boundary.empty()) return parts;
  const std::string open = "--" + boundary;
  size_t start = 0;
  for (size_t i = bodyStart; i < lines.size(); ++i) {
    if (lines[i].rfind(open, 0) != 0) continue;
    if (start) parts.push_back(ReadPart(lines, start, i));
    if (lines[i] == open + "--") return parts;
    start = i + 1;
  }
  return parts;
}

bool ViewMail(const std::string& id) {
  std::ifstream in(MailPath(id).c_str(), std::ios::binary);
  if (!in) {
    Log().Line("view-mail " + id + ": absent");
    return false;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  size_t body = 0;
  const auto header = HeaderLines(lines, body);
  const auto parts = Parts(lines, body, Parameter(Field(header, "Content-Type"), "boundary"));

  std::wstring view;
  for (const char* name : {"From", "Subject", "X-Velmora"}) {
    const std::string value = Field(header, name);
    if (!value.empty()) view += Wide(name) + L": " + FromAnsi(value.c_str()) + L"\r\n";
  }
  view += L"\r\n" + std::to_wstring(parts.size()) + L" parts:\r\n";
  int number = 0;
  for (const auto& part : parts)
    view += std::to_wstring(++number) + L". " + Wide(part.type) +
            (part.name.empty() ? L"" : L"  " + FromAnsi(part.name.c_str())) + L"  (" +
            std::to_wstring(part.bytes) + L" bytes)\r\n";

  HWND main = World().mainWindow;
  HWND list = GetDlgItem(main, 101);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  const std::wstring item = Wide(id) + L"  " + FromAnsi(Field(header, "Subject").c_str());
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SetDlgItemTextW(main, 102, view.c_str());
  Pump();
  Log().Line("view-mail " + id + ": " + std::to_string(parts.size()) + " parts");
  return true;
}

const VerbRegistration viewMail("view-mail",
                                [](const std::string& args, Script&) { return ViewMail(args); });

}  // namespace
}  // namespace host
