// What a crash report says: the moment, the versions, the entry, the exception, the call stack
// and the loaded modules. Everything is written into the reporter's reserved memory.
#include <windows.h>

#include <cstdint>

#include "base/wide_message.h"
#include "base/win32/crash/crash_reporter.h"

namespace vlm {
namespace {

HMODULE ModuleAt(DWORD64 address) {
  HMODULE module = nullptr;
  // The first 64 KB are never mapped; asked about address 0 the system names the executable.
  if (address < 0x10000) return nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(address)), &module);
  return module;
}

DWORD64 CALLBACK ModuleBaseAt(HANDLE, DWORD64 address) {
  return reinterpret_cast<std::uintptr_t>(ModuleAt(address));
}

const wchar_t* BaseName(const wchar_t* path) {
  const wchar_t* name = path;
  for (const wchar_t* p = path; *p; ++p)
    if (*p == L'\\' || *p == L'/') name = p + 1;
  return name;
}

// The module's own file version, read from its version resource in memory (no file access).
bool AddModuleVersion(HMODULE module, TFixedText& text) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* data = static_cast<const DWORD*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return false;
  const DWORD words = SizeofResource(module, found) / sizeof(DWORD);
  for (DWORD i = 0; i + sizeof(VS_FIXEDFILEINFO) / sizeof(DWORD) <= words; ++i) {
    if (data[i] != 0xFEEF04BD) continue;
    const auto* info = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + i);
    text.AddDecimal(HIWORD(info->dwFileVersionMS)).Add(L".");
    text.AddDecimal(LOWORD(info->dwFileVersionMS)).Add(L".");
    text.AddDecimal(HIWORD(info->dwFileVersionLS)).Add(L".");
    text.AddDecimal(LOWORD(info->dwFileVersionLS));
    return true;
  }
  return false;
}

bool InWindowsFolder(TCrashReporter& r, HMODULE module) {
  const DWORD length = GetModuleFileNameW(module, r.Scratch2, kCrashPathChars);
  const int folder = lstrlenW(r.WindowsFolder);
  return length > 0 && folder > 0 && static_cast<int>(length) > folder &&
         CompareStringOrdinal(r.Scratch2, folder, r.WindowsFolder, folder, TRUE) == CSTR_EQUAL &&
         (r.Scratch2[folder] == L'\\' || r.WindowsFolder[folder - 1] == L'\\');
}

const wchar_t* FaultName(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
      return L"access violation";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
      return L"illegal instruction";
    case EXCEPTION_PRIV_INSTRUCTION:
      return L"privileged instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return L"integer division by zero";
    case EXCEPTION_INT_OVERFLOW:
      return L"integer overflow";
    case EXCEPTION_IN_PAGE_ERROR:
      return L"in-page error";
    case EXCEPTION_STACK_OVERFLOW:
      return L"stack overflow";
    default:
      return L"exception";
  }
}

void AddTime(const SYSTEMTIME& t, TFixedText& text) {
  text.AddDecimal(t.wYear, 4).Add(L"-").AddDecimal(t.wMonth, 2).Add(L"-").AddDecimal(t.wDay, 2);
  text.Add(L" ").AddDecimal(t.wHour, 2).Add(L":").AddDecimal(t.wMinute, 2).Add(L":");
  text.AddDecimal(t.wSecond, 2);
}

void AddStack(TCrashReporter& r, TFixedText& text) {
  text.Add(L"Call stack:").Line();
  for (int i = 0; i < r.FrameCount; ++i) {
    text.Add(L"  #").AddDecimal(static_cast<std::uint32_t>(i), 2).Add(L" ");
    AddAddress(r, text, r.Frames[i]);
    text.Line();
  }
}

// A C++ exception's own stack at the throw, when the caught object is the one last thrown.
void AddThrowSite(TCrashReporter& r, TFixedText& text) {
  const TCrashJob& job = r.Job;
  if (job.Fault || !job.Error || r.ThrownObject != job.Error || r.ThrownThread != job.ThreadId)
    return;
  text.Add(L"Thrown at:").Line();
  for (WORD i = 0; i < r.ThrownCount && r.ThrownFrames[i]; ++i) {
    text.Add(L"  #").AddDecimal(i, 2).Add(L" ");
    AddAddress(r, text, reinterpret_cast<std::uintptr_t>(r.ThrownFrames[i]));
    text.Line();
  }
}

void AddModules(TCrashReporter& r, TFixedText& text) {
  text.Add(L"Modules:").Line();
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
  if (snapshot == INVALID_HANDLE_VALUE) return;
  r.ModuleEntry.dwSize = sizeof r.ModuleEntry;
  for (BOOL more = Module32FirstW(snapshot, &r.ModuleEntry); more;
       more = Module32NextW(snapshot, &r.ModuleEntry)) {
    const MODULEENTRY32W& m = r.ModuleEntry;
    text.Add(L"  ").AddHex(
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(m.modBaseAddr)));
    text.Add(L" ").AddHex(m.modBaseSize).Add(L" ").Add(m.szModule).Add(L" ");
    if (!AddModuleVersion(m.hModule, text)) text.Add(L"-");
    text.Add(L" ").Add(m.szExePath).Line();
  }
  CloseHandle(snapshot);
}

// The shipped DLL is 32-bit; the x86-64 build exists for the Wine tests on machines that run no
// 32-bit code, so the walk reads the registers of whichever machine it was built for.
#if defined(_WIN64)
constexpr DWORD kStackWalkMachine = IMAGE_FILE_MACHINE_AMD64;
DWORD64 ProgramCounter(const CONTEXT& c) {
  return c.Rip;
}
DWORD64 FramePointer(const CONTEXT& c) {
  return c.Rbp;
}
DWORD64 StackPointer(const CONTEXT& c) {
  return c.Rsp;
}
#else
constexpr DWORD kStackWalkMachine = IMAGE_FILE_MACHINE_I386;
DWORD64 ProgramCounter(const CONTEXT& c) {
  return c.Eip;
}
DWORD64 FramePointer(const CONTEXT& c) {
  return c.Ebp;
}
DWORD64 StackPointer(const CONTEXT& c) {
  return c.Esp;
}
#endif

}  // namespace

void WalkCrashStack(TCrashReporter& r) noexcept {
  r.FrameCount = 0;
  const TDbgHelp& d = r.DbgHelp;
  r.WalkContext = r.Job.Context;
  const DWORD64 first = ProgramCounter(r.WalkContext);
  if (!d.StackWalk64 || !d.SymInitializeW) {
    r.Frames[r.FrameCount++] = first;
    return;
  }
  HANDLE process = GetCurrentProcess();
  // When the host runs its own dbghelp session this fails; the walk still works on our module
  // lookup, and the host's session must not be cleaned up by us.
  const bool ours = d.SymInitializeW(process, nullptr, FALSE) != FALSE;
  r.WalkFrame = {};
  r.WalkFrame.AddrPC.Offset = ProgramCounter(r.WalkContext);
  r.WalkFrame.AddrPC.Mode = AddrModeFlat;
  r.WalkFrame.AddrFrame.Offset = FramePointer(r.WalkContext);
  r.WalkFrame.AddrFrame.Mode = AddrModeFlat;
  r.WalkFrame.AddrStack.Offset = StackPointer(r.WalkContext);
  r.WalkFrame.AddrStack.Mode = AddrModeFlat;
  while (r.FrameCount < kCrashMaxFrames &&
         d.StackWalk64(kStackWalkMachine, process, r.Job.Thread, &r.WalkFrame, &r.WalkContext,
                       nullptr, d.SymFunctionTableAccess64, ModuleBaseAt, nullptr) &&
         r.WalkFrame.AddrPC.Offset != 0) {
    r.Frames[r.FrameCount++] = r.WalkFrame.AddrPC.Offset;
  }
  if (ours) d.SymCleanup(process);
  if (r.FrameCount == 0) r.Frames[r.FrameCount++] = first;
}

bool FaultRaisedByVelmora(TCrashReporter& r) noexcept {
  for (int i = 0; i < r.FrameCount; ++i) {
    const HMODULE module = ModuleAt(r.Frames[i]);
    if (module == r.Module) return true;
    if (!module || !InWindowsFolder(r, module)) return false;
  }
  return false;
}

void AddAddress(TCrashReporter& r, TFixedText& text, DWORD64 address) noexcept {
  const HMODULE module = ModuleAt(address);
  if (module && GetModuleFileNameW(module, r.ModuleName, kCrashPathChars) > 0) {
    text.Add(BaseName(r.ModuleName)).Add(L"+");
    text.AddHex(static_cast<std::uint32_t>(address - reinterpret_cast<std::uintptr_t>(module)));
  } else {
    text.AddHex(static_cast<std::uint32_t>(address));
  }
}

void AddErrorMessage(const std::exception& error, TFixedText& text) noexcept {
  if (const wchar_t* wide = WideMessageOf(error))
    text.Add(wide);
  else
    text.AddAnsi(error.what());
}

void AddExceptionText(TCrashReporter& r, TFixedText& text) noexcept {
  const TCrashJob& job = r.Job;
  if (!job.Fault) {
    text.Add(L"C++ exception ").AddAnsi(job.ErrorType ? job.ErrorType : "(unknown type)");
    if (job.Error) AddErrorMessage(*job.Error, text.Add(L": "));
    return;
  }
  const EXCEPTION_RECORD& record = *job.Fault->ExceptionRecord;
  text.Add(FaultName(record.ExceptionCode)).Add(L" (").AddHex(record.ExceptionCode).Add(L")");
  if ((record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION ||
       record.ExceptionCode == EXCEPTION_IN_PAGE_ERROR) &&
      record.NumberParameters >= 2) {
    const ULONG_PTR kind = record.ExceptionInformation[0];
    text.Add(kind == 0 ? L" reading " : kind == 8 ? L" executing " : L" writing ");
    text.AddHex(static_cast<std::uint32_t>(record.ExceptionInformation[1]));
  }
  text.Add(L" at ");
  AddAddress(r, text, reinterpret_cast<std::uintptr_t>(record.ExceptionAddress));
}

void ComposeCrashReport(TCrashReporter& r) noexcept {
  TFixedText text(r.Text, kCrashTextChars);
  text.Add(L"Velmora crash report").Line();
  text.Add(L"Time: ");
  AddTime(r.Time, text);
  text.Line().Add(L"Velmora version: ");
  if (!AddModuleVersion(r.Module, text)) text.Add(L"-");
  text.Line().Add(L"Host version: ").AddAnsi(r.HostVersion).Line();
  text.Add(L"Entry: ").AddAnsi(r.Job.Entry).Line();
  text.Add(L"Exception: ");
  AddExceptionText(r, text);
  text.Line().Add(L"Thread: ").AddHex(r.Job.ThreadId).Line();
  AddThrowSite(r, text);
  AddStack(r, text);
  AddModules(r, text);
  text.Add(L"Minidump: ");
  if (r.DumpWritten)
    text.Add(BaseName(r.Stem)).Add(L".dmp").Line();
  else
    text.Add(L"none").Line();
}

bool WriteCrashDump(TCrashReporter& r, const wchar_t* path) noexcept {
  if (!r.DbgHelp.MiniDumpWriteDump) return false;
  HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  MINIDUMP_EXCEPTION_INFORMATION exception{r.Job.ThreadId, r.Job.Fault, FALSE};
  const BOOL written =
      r.DbgHelp.MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal,
                                  r.Job.Fault ? &exception : nullptr, nullptr, nullptr);
  CloseHandle(file);
  if (!written) DeleteFileW(path);
  return written != FALSE;
}

}  // namespace vlm
