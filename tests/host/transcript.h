#pragma once
// The stand-in host's record of everything that happened: one UTF-8 line per event, with paths
// below the scenario's work folder written as %WORK% so expected transcripts stay stable.
#include <windows.h>

#include <cstdio>
#include <string>

namespace host {

class Transcript {
 public:
  void Open(const std::wstring& path, const std::wstring& workFolder);
  void Line(const std::string& utf8);
  // A host text (ANSI) quoted for the transcript, control characters escaped.
  std::string Quote(const char* ansi) const;
  std::string QuoteWide(const std::wstring& text) const;
  // A host text that is Shift-JIS whatever the system's code page (the plug-in information
  // block, command descriptions), so a run under another code page shows what the host reads.
  std::string QuoteShiftJis(const char* text) const;
  // A window as a stable name: "main", "compose1", ... or "0" / the class name.
  std::string Window(HWND window) const;

 private:
  std::FILE* file_ = nullptr;
  std::wstring work_;
};

Transcript& Log();

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
std::wstring FromAnsi(const char* text);
std::string ToAnsi(const std::wstring& text);

}  // namespace host
