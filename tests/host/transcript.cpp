#include "tests/host/transcript.h"

#include <shlobj.h>

#include "tests/host/held_lock.h"
#include "tests/host/host_world.h"

#include <regex>

namespace host {

Transcript& Log() {
  static Transcript transcript;
  return transcript;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

namespace {

std::wstring Decode(UINT codePage, const char* text) {
  if (!text || !*text) return {};
  const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text, -1, out.data(), n);
  out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
  return out;
}

}  // namespace

std::wstring FromAnsi(const char* text) {
  return Decode(CP_ACP, text);
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
  return out;
}

void Transcript::Open(const std::wstring& path, const std::wstring& workFolder) {
  file_ = _wfopen(path.c_str(), L"wb");
  work_ = workFolder;
  wchar_t desktop[MAX_PATH] = L"";
  if (SUCCEEDED(
          SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop)))
    desktop_ = desktop;
}

void Transcript::FollowArchiverLog(const std::wstring& path) {
  archiverLog_ = path;
  DeleteFileW(path.c_str());
}

void Transcript::Line(const std::string& utf8) {
  HeldLock hold(lock_);
  TakeArchiverCalls();
  Write(utf8);
}

void Transcript::Write(const std::string& utf8) {
  if (!file_) return;
  std::fwrite(utf8.data(), 1, utf8.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

namespace {

// The archivers' main entries, whose argument is the command line.
bool IsMainEntry(const std::string& entry) {
  static const char* const kEntries[] = {"Zip",   "UnZip", "Unzip", "Unlha", "SevenZip", "Cab",
                                         "Unarj", "Tar",   "Unrar", "Bga",   "Yz1"};
  for (const char* name : kEntries)
    if (entry == name) return true;
  return false;
}

}  // namespace

// The archivers run on this thread, inside the plug-in's calls, so every call they logged
// happened before the line about to be written.
void Transcript::TakeArchiverCalls() {
  if (archiverLog_.empty()) return;
  HANDLE log = CreateFileW(archiverLog_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER at;
  at.QuadPart = archiverRead_;
  SetFilePointerEx(log, at, nullptr, FILE_BEGIN);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(log, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    archiverPending_.append(buffer, got);
    archiverRead_ += got;
  }
  CloseHandle(log);
  for (size_t end; (end = archiverPending_.find("\r\n")) != std::string::npos;) {
    const std::string call = archiverPending_.substr(0, end);
    archiverPending_.erase(0, end + 2);
    // "<DLL file name> TAB <entry> TAB <arguments>"
    const size_t tab1 = call.find('\t');
    const size_t tab2 = tab1 == std::string::npos ? tab1 : call.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) continue;
    const std::string entry = call.substr(tab1 + 1, tab2 - tab1 - 1);
    if (!IsMainEntry(entry)) continue;
    Write("archiver " + call.substr(0, tab1) + " " + entry + " " +
          Quote(call.substr(tab2 + 1).c_str()));
  }
}

std::string Transcript::QuoteWide(const std::wstring& raw) const {
  std::wstring text = raw;
  for (size_t at; !work_.empty() && (at = text.find(work_)) != std::wstring::npos;)
    text.replace(at, work_.size(), L"%WORK%");
  // A crash report's name carries the time it was written; addresses in a fault's description
  // depend on the system's build.
  static const std::wregex stamp(L"Velmora-crash-\\d{8}-\\d{6}");
  static const std::wregex address(L"(\\+|reading |writing |executing )0x[0-9A-F]{8}");
  text = std::regex_replace(text, stamp, L"Velmora-crash-<time>");
  text = std::regex_replace(text, address, L"$010x########");
  // ZIP command lines carry names with "/" between folders.
  std::wstring slashed = work_;
  for (wchar_t& c : slashed)
    if (c == L'\\') c = L'/';
  for (size_t at; !slashed.empty() && (at = text.find(slashed)) != std::wstring::npos;)
    text.replace(at, slashed.size(), L"%WORK%");
  // The desktop folder holds the user's name.
  for (size_t at; !desktop_.empty() && (at = text.find(desktop_)) != std::wstring::npos;)
    text.replace(at, desktop_.size(), L"%DESKTOP%");
  std::string out = "\"";
  for (char c : Utf8(text)) {
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

std::string Transcript::Quote(const char* ansi) const {
  if (!ansi) return "null";
  return QuoteWide(FromAnsi(ansi));
}

std::string Transcript::QuoteShiftJis(const char* text) const {
  if (!text) return "null";
  return QuoteWide(Decode(932, text));
}

std::string Transcript::Window(HWND window) const {
  return World().WindowName(window);
}

}  // namespace host
