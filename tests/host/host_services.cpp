#include "tests/host/host_services.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "tests/host/base64.h"
#include "tests/host/host_world.h"
#include "tests/host/text_codecs.h"
#include "tests/host/transcript.h"
#include "tests/support/base64.h"

namespace host {
namespace {

std::string gCurrentMail;
std::map<std::string, std::uint32_t> gStatus;
std::set<void*> gBuffers;
int gTempCounter = 0;

std::string Q(const char* text) {
  return Log().Quote(text);
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::wstring& path, const std::string& data) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

std::string IdOf(const char* mail) {
  return mail && *mail ? mail : gCurrentMail;
}

// The header block: everything before the first empty line.
std::string HeaderOf(const std::string& source) {
  for (size_t at = 0; at < source.size();) {
    size_t end = source.find('\n', at);
    if (end == std::string::npos) end = source.size();
    std::string line = source.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return source.substr(0, at);
    at = end + 1;
  }
  return source;
}

}  // namespace

std::wstring MailPath(const std::string& id) {
  return World().workFolder + L"\\Store\\" + Wide(id) + L".eml";
}

const char* CurrentMail() {
  Log().Line("host GetCurrentMail -> " +
             (gCurrentMail.empty() ? std::string("null") : Q(gCurrentMail.c_str())));
  return gCurrentMail.empty() ? nullptr : World().Keep(gCurrentMail);
}

void SelectMail(const std::string& id) {
  gCurrentMail = id;
}

std::uint32_t MailStatus(const char* mail) {
  const std::uint32_t flags = gStatus[IdOf(mail)];
  Log().Line("host GetStatus(" + Q(mail) + ") -> " + std::to_string(flags));
  return flags;
}

void SetMailStatus(const std::string& id, std::uint32_t flags) {
  gStatus[id] = flags;
}

char* MailSource(const char* mail) {
  Log().Line("host GetSource(" + Q(mail) + ")");
  return World().KeepMutable(ReadFile(MailPath(IdOf(mail))));
}

void SetMailSource(const char* mail, const char* source) {
  const bool fromAlloc = gBuffers.count(const_cast<char*>(source)) != 0;
  Log().Line("host SetSource(" + Q(mail) + ", " + std::to_string(source ? std::strlen(source) : 0) +
             " bytes" + (fromAlloc ? "" : ", NOT from Alloc") + ")");
  WriteFile(MailPath(IdOf(mail)), source ? source : "");
}

char* MailHeader(const char* mail) {
  Log().Line("host GetHeader(" + Q(mail) + ")");
  return World().KeepMutable(HeaderOf(ReadFile(MailPath(IdOf(mail)))));
}

void GetSpecifiedHeader(const char* header, char* buffer, int size) {
  std::string value;
  const std::string name = std::string(header ? header : "") + ":";
  std::istringstream lines(HeaderOf(ReadFile(MailPath(gCurrentMail))));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (_strnicmp(line.c_str(), name.c_str(), name.size()) == 0) {
      value = line.substr(name.size());
      while (!value.empty() && value.front() == ' ') value.erase(0, 1);
      break;
    }
  }
  if (size > 0) {
    std::strncpy(buffer, value.c_str(), static_cast<size_t>(size - 1));
    buffer[size - 1] = '\0';
  }
  Log().Line("host GetSpecifiedHeader(" + Q(header) + ") -> " + Q(buffer));
}

void SetSpecifiedHeader(const char* header, const char* value) {
  Log().Line("host SetSpecifiedHeader(" + Q(header) + ", " + Q(value) + ")");
  const std::wstring path = MailPath(gCurrentMail);
  std::string source = ReadFile(path);
  const std::string header_block = HeaderOf(source);
  source.insert(header_block.size(), std::string(header) + ": " + value + "\r\n");
  WriteFile(path, source);
}

std::string CurrentFolder() {
  return "Inbox";
}

const char* TempFileName(const char* type) {
  const std::wstring path =
      World().tempFolder + L"bk" + std::to_wstring(++gTempCounter) + L"." + FromAnsi(type);
  WriteFile(path, "");
  const char* result = World().Keep(ToAnsi(path));
  Log().Line("host GetTempFileName(" + Q(type) + ") -> " + Q(result));
  return result;
}

void* Alloc(std::uint32_t size) {
  void* buffer = std::malloc(size ? size : 1);
  gBuffers.insert(buffer);
  Log().Line("host Alloc(" + std::to_string(size) + ")");
  return buffer;
}

void Free(void* buffer) {
  if (gBuffers.erase(buffer) == 0) {
    Log().Line("host Free(unknown or already freed buffer)");
    return;
  }
  std::free(buffer);
  Log().Line("host Free");
}

int OutstandingBuffers() {
  return static_cast<int>(gBuffers.size());
}

char* Iso2022Jp(const char* text, int encode) {
  if (auto inside = std::exchange(World().insideNextDecode, nullptr)) inside();
  // A text the host cannot read is not decoded: the caller is told with a null result.
  if (text && IsBadReadPtr(text, 1)) {
    Log().Line("host ISO_2022_JP(unreadable text) -> null");
    if (World().afterUnreadableText) World().afterUnreadableText();
    return nullptr;
  }
  std::string result = encode ? (text ? text : "") : DecodeIso2022Jp(text ? text : "");
  Log().Line("host ISO_2022_JP(" + std::to_string(text ? std::strlen(text) : 0) + " bytes, " +
             std::to_string(encode) + ")");
  return World().KeepMutable(std::move(result));
}

char* MimeHeader(const char* text, char* buffer, int size, int encode) {
  const std::string decoded = encode ? (text ? text : "") : DecodeMimeHeader(text ? text : "");
  Log().Line("host MIMEHeader(" + Q(text) + ") -> " + Q(decoded.c_str()));
  if (buffer && size > 0) {
    std::strncpy(buffer, decoded.c_str(), static_cast<size_t>(size - 1));
    buffer[size - 1] = '\0';
  }
  return World().KeepMutable(decoded);
}

int B64Convert(const char* output, const char* input, int encode) {
  Log().Line("host B64Convert(" + Q(output) + ", " + Q(input) + ", " + std::to_string(encode) +
             ")");
  const std::string data = ReadFile(FromAnsi(input));
  WriteFile(FromAnsi(output), encode ? vlm::test::EncodeBase64Lines(data) : DecodeBase64(data));
  return 1;
}

}  // namespace host
