#pragma once
// Crash reports: a C++ exception that reaches a guard, or a hardware fault that unwinds past a
// fault frame or is left unhandled, is written to
// "CrashReports\Velmora-crash-<yyyymmdd-hhmmss>.txt" beside the INI file (or into the host's
// temporary folder when that folder cannot be written), with a minidump of the same moment beside
// it. At most 20 reports are kept. The user is then asked whether to open the folder.
//
// Everything a report needs is reserved by StartCrashReports: writing one never throws and
// never allocates from our heap, which may be the thing that broke.
#include <windows.h>

#include <exception>
#include <string>

namespace vlm {

// Start-up: reserves the report's memory and loads the system's dbghelp.dll. Reports stay off
// until this is called, and when `enabled` is false.
void StartCrashReports(bool enabled, const std::wstring& fallbackFolder, const char* hostVersion);
// Exit: releases what StartCrashReports took; later faults are not recorded.
void StopCrashReports() noexcept;

// A C++ exception caught by the guard of `entry`: writes the report and asks whether to open
// its folder. False when nothing was written (reports off or the write failed).
bool ReportCppException(const char* entry, const std::exception* error) noexcept;

// True for the hardware faults a report is written for.
[[nodiscard]] bool IsReportableFault(DWORD code) noexcept;
// A hardware fault a fault frame of `entry` noted when the search for a handler reached it: the
// report and its minidump are written now, while the failed thread stands as it faulted (the
// system's minidump writer cannot take a thread in the middle of an unwind), when it was raised
// inside Velmora or inside a system function Velmora called. True when written: the reporter
// then stays claimed until the user is asked or the report withdrawn. The caller passes the
// exception on.
bool WriteFaultReport(const char* entry, EXCEPTION_POINTERS& pointers) noexcept;
// The written fault unwinds past its frame or is left unhandled: the reporter is released and
// the user asked whether to open the folder.
void AskAboutFaultReport() noexcept;
// The written fault was resumed by a handler further out and the call went on: nothing went
// wrong, so the report and its dump are removed and the reporter released.
void WithdrawFaultReport() noexcept;

}  // namespace vlm
