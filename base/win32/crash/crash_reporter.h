#pragma once
// The memory a crash report is built in, reserved at start-up, and the pieces that fill it.
#include <windows.h>
#include <dbghelp.h>
#include <tlhelp32.h>

#include <cstddef>
#include <exception>

#include "base/win32/crash/fixed_text.h"

namespace vlm {

constexpr std::size_t kCrashPathChars = 1024;
constexpr std::size_t kCrashTextChars = 48 * 1024;
constexpr int kCrashMaxFrames = 64;
constexpr int kCrashMaxReports = 20;

// dbghelp.dll's entries, bound at run time so Velmora imports nothing beyond the usual.
struct TDbgHelp {
  HMODULE Module = nullptr;
  decltype(&SymInitializeW) SymInitializeW = nullptr;
  decltype(&SymCleanup) SymCleanup = nullptr;
  decltype(&StackWalk64) StackWalk64 = nullptr;
  decltype(&SymFunctionTableAccess64) SymFunctionTableAccess64 = nullptr;
  decltype(&MiniDumpWriteDump) MiniDumpWriteDump = nullptr;
};

// What one report is about. Exactly one of Fault and (ErrorType, Error) is set.
struct TCrashJob {
  const char* Entry = nullptr;
  EXCEPTION_POINTERS* Fault = nullptr;  // FaultPointers, for a fault
  // The system's record and context, which stay valid until the fault's unwind has ended.
  EXCEPTION_POINTERS FaultPointers{};
  const char* ErrorType = nullptr;
  const std::exception* Error = nullptr;
  CONTEXT Context{};  // where the stack walk starts
  HANDLE Thread = nullptr;
  DWORD ThreadId = 0;
  bool Written = false;
};

struct TCrashReporter {
  bool Enabled = false;
  // 1 while one thread writes a report: taken with InterlockedCompareExchange, so only one
  // writer ever runs; released before the user is asked.
  volatile LONG Busy = 0;
  HANDLE WriteDone = nullptr;  // set by the writer when the report is on disk (or failed)
  LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;
  bool FilterInstalled = false;
  HMODULE Module = nullptr;
  TDbgHelp DbgHelp;
  wchar_t ReportFolder[kCrashPathChars]{};
  wchar_t FallbackFolder[kCrashPathChars]{};
  wchar_t WindowsFolder[kCrashPathChars]{};
  char HostVersion[64]{};

  // Where the last C++ exception was thrown, noted at the throw.
  const void* ThrownObject = nullptr;
  DWORD ThrownThread = 0;
  WORD ThrownCount = 0;
  void* ThrownFrames[kCrashMaxFrames]{};

  TCrashJob Job;
  DWORD64 Frames[kCrashMaxFrames]{};
  int FrameCount = 0;
  STACKFRAME64 WalkFrame{};
  CONTEXT WalkContext{};
  MODULEENTRY32W ModuleEntry{};
  WIN32_FIND_DATAW Found{};
  SYSTEMTIME Time{};
  wchar_t ModuleName[kCrashPathChars]{};
  wchar_t Stem[kCrashPathChars]{};  // the report's path without its extension
  bool DumpWritten = false;
  wchar_t Oldest[kCrashPathChars]{};  // pruning: the oldest report's path without extension
  wchar_t Scratch[kCrashPathChars]{};
  wchar_t Scratch2[kCrashPathChars]{};
  wchar_t Text[kCrashTextChars]{};
  char Utf8[kCrashTextChars * 3]{};
};

// What the user is asked after a report, copied out of the reporter: the reporter is released
// before the box, so another report can be written while this one is read.
struct TCrashBox {
  wchar_t Text[4096]{};
  wchar_t Folder[kCrashPathChars]{};
};

// The memory crash reports are written in; from BKC_OnStart to the end of BKC_OnExit.
extern TCrashReporter* CrashReporter;

// Fills Frames from Job.Context with the system's stack walker.
void WalkCrashStack(TCrashReporter& r) noexcept;
// True when the first frame outside the system's own modules is Velmora's.
[[nodiscard]] bool FaultRaisedByVelmora(TCrashReporter& r) noexcept;
// Writes "<module>+0x<offset>", or the bare address outside every module.
void AddAddress(TCrashReporter& r, TFixedText& text, DWORD64 address) noexcept;
// The report's text into r.Text; the minidump has been written (or not) before.
void ComposeCrashReport(TCrashReporter& r) noexcept;
// The minidump beside the report; false when it could not be written.
bool WriteCrashDump(TCrashReporter& r, const wchar_t* path) noexcept;
// What the exception was, one line, for the report and the box.
void AddExceptionText(TCrashReporter& r, TFixedText& text) noexcept;
// A C++ exception's message: a wide message as it is, any other read in the system code page.
void AddErrorMessage(const std::exception& error, TFixedText& text) noexcept;

}  // namespace vlm
