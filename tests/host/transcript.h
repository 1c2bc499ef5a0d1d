#pragma once
// The stand-in host's record of everything that happened: one UTF-8 line per event, with paths
// below the scenario's work folder written as %WORK% and the user's desktop folder as %DESKTOP%
// so expected transcripts stay stable.
#include <windows.h>

#include <cstdio>
#include <string>

namespace host {

class Transcript {
 public:
  void Open(const std::wstring& path, const std::wstring& workFolder);
  // The stand-in archivers append each call to this file (VELMORA_ARCHIVER_LOG); the command
  // lines their main entries receive go into the transcript where they happened.
  void FollowArchiverLog(const std::wstring& path);
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
  void Write(const std::string& utf8);
  void TakeArchiverCalls();

  SRWLOCK lock_ =
      SRWLOCK_INIT;  // threads of the host that call the plug-in at once write whole lines
  std::FILE* file_ = nullptr;
  std::wstring work_;
  std::wstring desktop_;
  std::wstring archiverLog_;
  std::string archiverPending_;  // a call line not yet complete
  long long archiverRead_ = 0;
};

Transcript& Log();

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
std::wstring FromAnsi(const char* text);
std::string ToAnsi(const std::wstring& text);

}  // namespace host
