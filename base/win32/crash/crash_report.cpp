#include "base/win32/crash/crash_report.h"

#include <windows.h>
#include <shellapi.h>

#include <cxxabi.h>
#include <new>

#include "base/plugin_state.h"
#include "base/win32/crash/crash_box.h"
#include "base/win32/crash/crash_reporter.h"
#include "base/win32/module.h"

namespace vlm {

TCrashReporter* CrashReporter = nullptr;

namespace {

constexpr wchar_t kPrefix[] = L"Velmora-crash-";
// A report is waited for this long; a writer stuck on a lock the failed thread holds must not
// hang the host for good.
constexpr DWORD kWriteTimeoutMs = 30000;
constexpr SIZE_T kWriterStack = 256 * 1024;

void CopyText(wchar_t* target, const wchar_t* source) {
  TFixedText(target, kCrashPathChars).Add(source);
}

template <typename Fn>
void Bind(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The system's own dbghelp.dll, by full path: a copy planted in the host's folder is not taken.
void LoadDbgHelp(TCrashReporter& r) {
  wchar_t path[MAX_PATH + 16] = L"";
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcatW(path, L"\\dbghelp.dll");
  TDbgHelp& d = r.DbgHelp;
  d.Module = LoadLibraryW(path);
  if (!d.Module) return;
  Bind(d.Module, "SymInitializeW", d.SymInitializeW);
  Bind(d.Module, "SymCleanup", d.SymCleanup);
  Bind(d.Module, "StackWalk64", d.StackWalk64);
  Bind(d.Module, "SymFunctionTableAccess64", d.SymFunctionTableAccess64);
  Bind(d.Module, "MiniDumpWriteDump", d.MiniDumpWriteDump);
  if (!d.SymCleanup) d.SymInitializeW = nullptr;
}

bool IsHardwareFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_STACK_OVERFLOW:
      return true;
    default:
      return false;
  }
}

bool IsStackOverflow(const TCrashJob& job) {
  return job.Fault && job.Fault->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW;
}

// "<folder>\<name>" into `target`.
void JoinPath(wchar_t* target, const wchar_t* folder, const wchar_t* name) {
  TFixedText path(target, kCrashPathChars);
  path.Add(folder);
  if (path.Length() > 0 && folder[path.Length() - 1] != L'\\') path.Add(L"\\");
  path.Add(name);
}

// A report's name without ".txt", when `name` is one.
int ReportStemLength(const wchar_t* name) {
  const int length = lstrlenW(name);
  const int prefix = lstrlenW(kPrefix);
  if (length <= prefix + 4 ||
      CompareStringOrdinal(name, prefix, kPrefix, prefix, TRUE) != CSTR_EQUAL ||
      CompareStringOrdinal(name + length - 4, 4, L".txt", 4, TRUE) != CSTR_EQUAL)
    return 0;
  return length - 4;
}

// Keeps room for one more report: while 20 or more are there, the oldest goes with its dump.
// Names hold the time, so the smallest name is the oldest.
void PruneReports(TCrashReporter& r, const wchar_t* folder) {
  for (int round = 0; round < 1000; ++round) {
    JoinPath(r.Scratch, folder, L"Velmora-crash-*.txt");
    HANDLE find = FindFirstFileW(r.Scratch, &r.Found);
    if (find == INVALID_HANDLE_VALUE) return;
    int count = 0, oldestLength = 0;
    do {
      const int stem = ReportStemLength(r.Found.cFileName);
      if (stem == 0) continue;
      ++count;
      if (oldestLength == 0 || CompareStringOrdinal(r.Found.cFileName, stem, r.Oldest, oldestLength,
                                                    FALSE) == CSTR_LESS_THAN) {
        TFixedText(r.Oldest, kCrashPathChars).Add(r.Found.cFileName, stem);
        oldestLength = stem;
      }
    } while (FindNextFileW(find, &r.Found));
    FindClose(find);
    if (count < kCrashMaxReports) return;
    JoinPath(r.Scratch, folder, r.Oldest);
    const std::size_t base = lstrlenW(r.Scratch);
    TFixedText(r.Scratch + base, kCrashPathChars - base).Add(L".txt");
    if (!DeleteFileW(r.Scratch)) return;
    TFixedText(r.Scratch + base, kCrashPathChars - base).Add(L".dmp");
    DeleteFileW(r.Scratch);
  }
}

// Picks "<folder>\Velmora-crash-<yyyymmdd-hhmmss>[-NN]" for a report not yet there.
void ChooseStem(TCrashReporter& r, const wchar_t* folder) {
  for (std::uint32_t n = 1; n < 100; ++n) {
    TFixedText stem(r.Stem, kCrashPathChars);
    stem.Add(folder);
    if (stem.Length() > 0 && folder[stem.Length() - 1] != L'\\') stem.Add(L"\\");
    const SYSTEMTIME& t = r.Time;
    stem.Add(kPrefix).AddDecimal(t.wYear, 4).AddDecimal(t.wMonth, 2).AddDecimal(t.wDay, 2);
    stem.Add(L"-").AddDecimal(t.wHour, 2).AddDecimal(t.wMinute, 2).AddDecimal(t.wSecond, 2);
    if (n > 1) stem.Add(L"-").AddDecimal(n, 2);
    TFixedText(r.Scratch, kCrashPathChars).Add(r.Stem).Add(L".txt");
    if (GetFileAttributesW(r.Scratch) == INVALID_FILE_ATTRIBUTES) return;
  }
}

// The report's text as UTF-8, through a temporary name, so a half-written report is never seen.
bool WriteReportText(TCrashReporter& r) {
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, r.Text, -1, r.Utf8, sizeof r.Utf8, nullptr, nullptr);
  if (bytes <= 1) return false;
  TFixedText(r.Scratch, kCrashPathChars).Add(r.Stem).Add(L".txt.tmp");
  HANDLE file = CreateFileW(r.Scratch, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, r.Utf8, static_cast<DWORD>(bytes - 1), &written, nullptr);
  CloseHandle(file);
  TFixedText(r.Scratch2, kCrashPathChars).Add(r.Stem).Add(L".txt");
  if (!ok || written != static_cast<DWORD>(bytes - 1) ||
      !MoveFileExW(r.Scratch, r.Scratch2, MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(r.Scratch);
    return false;
  }
  return true;
}

// The report and its dump in `folder`; false when the folder cannot be written.
bool WriteReportInto(TCrashReporter& r, const wchar_t* folder) {
  if (!folder[0]) return false;
  CreateDirectoryW(folder, nullptr);
  PruneReports(r, folder);
  ChooseStem(r, folder);
  TFixedText(r.Scratch, kCrashPathChars).Add(r.Stem).Add(L".dmp");
  // The dump first: a report that can be seen has its dump beside it, or says it has none.
  r.DumpWritten = WriteCrashDump(r, r.Scratch);
  ComposeCrashReport(r);
  if (WriteReportText(r)) return true;
  TFixedText(r.Scratch, kCrashPathChars).Add(r.Stem).Add(L".dmp");
  DeleteFileW(r.Scratch);
  return false;
}

// What the box says and which folder a "yes" opens, from the report just written.
void ComposeCrashBox(TCrashReporter& r, TCrashBox& box) {
  TFixedText text(box.Text, sizeof box.Text / sizeof box.Text[0]);
  text.Add(L"Velmoraで予期しないエラーが発生しました。").Line().Line();
  text.Add(L"処理: ").AddAnsi(r.Job.Entry).Line();
  text.Add(L"内容: ");
  // A C++ exception's message is meant for people; its type and the stack are in the report.
  if (!r.Job.Fault && r.Job.Error)
    AddErrorMessage(*r.Job.Error, text);
  else
    AddExceptionText(r, text);
  text.Line().Line().Add(L"エラーの記録を保存しました:").Line();
  text.Add(r.Stem).Add(L".txt").Line().Line();
  text.Add(L"保存先のフォルダーを開きますか？");
  // The folder is the report's path up to its last separator.
  TFixedText(box.Folder, kCrashPathChars).Add(r.Stem);
  for (int i = lstrlenW(box.Folder) - 1; i >= 0; --i) {
    if (box.Folder[i] == L'\\') {
      box.Folder[i] = L'\0';
      break;
    }
  }
}

void OpenFolder(const wchar_t* folder) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.lpVerb = L"open";
  info.lpFile = folder;
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
}

void ShowCrashBox(const TCrashBox& box, HWND owner) {
  const int answer = ShowCrashBoxWindow(owner, box.Text, MB_YESNO | MB_ICONERROR | MB_TOPMOST);
  if (answer == IDYES) OpenFolder(box.Folder);
}

DWORD WINAPI WriteReport(void* argument) {
  TCrashReporter& r = *static_cast<TCrashReporter*>(argument);
  WalkCrashStack(r);
  if (!r.Job.Fault || FaultRaisedByVelmora(r)) {
    GetLocalTime(&r.Time);
    r.Job.Written = WriteReportInto(r, r.ReportFolder) || WriteReportInto(r, r.FallbackFolder);
  }
  if (!r.Job.Written || !IsStackOverflow(r.Job)) {
    SetEvent(r.WriteDone);
    return 0;
  }
  // The failed thread has no stack left for a message box: ask from here, unowned, since the
  // application window's thread may be the failed one. The failed thread waits for the writing
  // only, never for the user.
  TCrashBox box;
  ComposeCrashBox(r, box);
  SetEvent(r.WriteDone);
  ShowCrashBox(box, nullptr);
  return 0;
}

// Writes the report from a thread of its own: it has a whole stack, and the minidump shows the
// failed thread as it stood. False when the writing did not finish in time: the writer may
// still use the reporter, which then stays claimed for good (no further report, never freed).
bool RunJob(TCrashReporter& r) {
  TCrashJob& job = r.Job;
  job.ThreadId = GetCurrentThreadId();
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &job.Thread, 0,
                  FALSE, DUPLICATE_SAME_ACCESS);
  ResetEvent(r.WriteDone);
  HANDLE writer = CreateThread(nullptr, kWriterStack, WriteReport, &r,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  bool finished = true;
  if (writer) {
    finished = WaitForSingleObject(r.WriteDone, kWriteTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(writer);
  } else if (!IsStackOverflow(job)) {
    WriteReport(&r);
  }
  if (!finished) return false;
  if (job.Thread) CloseHandle(job.Thread);
  job.Thread = nullptr;
  return true;
}

// Only one thread ever writes: a second fault meanwhile, on any thread, goes unreported.
bool ClaimReporter(TCrashReporter& r) {
  return r.Enabled && r.WriteDone && InterlockedCompareExchange(&r.Busy, 1, 0) == 0;
}

void ReleaseReporter(TCrashReporter& r) {
  InterlockedExchange(&r.Busy, 0);
}

// The box's copy lives on this thread's stack, which a stack overflow lacks: never inlined, so
// only the threads that ask pay for it.
__attribute__((noinline)) void ReleaseThenAsk(TCrashReporter& r) {
  TCrashBox box;
  ComposeCrashBox(r, box);
  ReleaseReporter(r);
  ShowCrashBox(box, static_cast<HWND>(AppWindow));
}

// Writes the claimed job's report, releases the reporter and asks the user, outside any wait
// and with the reporter free: a box the user leaves open, or that an exception unwinds through,
// holds nothing up.
bool WriteThenAsk(TCrashReporter& r) {
  if (!RunJob(r)) return false;
  const bool written = r.Job.Written;
  if (written && !IsStackOverflow(r.Job)) {
    ReleaseThenAsk(r);
    return true;
  }
  ReleaseReporter(r);
  return written;
}

}  // namespace

void StartCrashReports(bool enabled, const std::wstring& fallbackFolder, const char* hostVersion) {
  if (!CrashReporter) {
    void* memory =
        VirtualAlloc(nullptr, sizeof(TCrashReporter), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!memory) return;
    CrashReporter = new (memory) TCrashReporter();
  }
  TCrashReporter& r = *CrashReporter;
  r.Module = ModuleHandle();
  const std::wstring module = ModulePath();
  JoinPath(r.ReportFolder, module.substr(0, module.find_last_of(L"\\/")).c_str(), L"CrashReports");
  CopyText(r.FallbackFolder, fallbackFolder.c_str());
  GetSystemWindowsDirectoryW(r.WindowsFolder, kCrashPathChars);
  TFixedText(r.Scratch, kCrashPathChars).AddAnsi(hostVersion ? hostVersion : "");
  WideCharToMultiByte(CP_UTF8, 0, r.Scratch, -1, r.HostVersion, sizeof r.HostVersion, nullptr,
                      nullptr);
  if (enabled && !r.DbgHelp.Module) LoadDbgHelp(r);
  if (enabled && !r.WriteDone) r.WriteDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  r.Enabled = enabled;
}

void StopCrashReports() noexcept {
  TCrashReporter* r = CrashReporter;
  if (!r || r->Busy) return;
  CrashReporter = nullptr;
  if (r->DbgHelp.Module) FreeLibrary(r->DbgHelp.Module);
  if (r->WriteDone) CloseHandle(r->WriteDone);
  r->~TCrashReporter();
  VirtualFree(r, 0, MEM_RELEASE);
}

bool ReportCppException(const char* entry, const std::exception* error) noexcept {
  TCrashReporter* r = CrashReporter;
  if (!r || !ClaimReporter(*r)) return false;
  r->Job = {};
  r->Job.Entry = entry;
  const std::type_info* type = abi::__cxa_current_exception_type();
  r->Job.ErrorType = type ? type->name() : nullptr;
  r->Job.Error = error;
  RtlCaptureContext(&r->Job.Context);
  return WriteThenAsk(*r);
}

bool IsReportableFault(DWORD code) noexcept {
  const TCrashReporter* r = CrashReporter;
  return r && r->Enabled && IsHardwareFault(code);
}

bool WriteFaultReport(const char* entry, EXCEPTION_POINTERS& pointers) noexcept {
  TCrashReporter* r = CrashReporter;
  if (!r || !IsHardwareFault(pointers.ExceptionRecord->ExceptionCode) || !ClaimReporter(*r))
    return false;
  r->Job = {};
  r->Job.Entry = entry;
  r->Job.FaultPointers = pointers;
  r->Job.Fault = &r->Job.FaultPointers;
  r->Job.Context = *pointers.ContextRecord;
  if (!RunJob(*r)) return false;
  // A stack overflow was asked about by the writer already: nothing is left to ask.
  if (r->Job.Written && !IsStackOverflow(r->Job)) return true;
  ReleaseReporter(*r);
  return false;
}

void AskAboutFaultReport() noexcept {
  if (TCrashReporter* r = CrashReporter) ReleaseThenAsk(*r);
}

void WithdrawFaultReport() noexcept {
  TCrashReporter* r = CrashReporter;
  if (!r) return;
  for (const wchar_t* extension : {L".txt", L".dmp"}) {
    TFixedText(r->Scratch, kCrashPathChars).Add(r->Stem).Add(extension);
    DeleteFileW(r->Scratch);
  }
  ReleaseReporter(*r);
}

}  // namespace vlm
