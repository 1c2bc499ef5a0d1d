// Scenario verbs for crash reports:
//   send-unreadable      BKC_OnSend with a message pointer that cannot be read, inside the host's
//                        own fault handler, as Becky! calls its plug-ins
//   send-unreadable-resumed  the same, but the host's handler makes the pointer readable and
//                        resumes the faulting read (EXCEPTION_CONTINUE_EXECUTION)
//   send-unreadable-nested   BKC_OnSend with a readable message, inside the host's fault handler;
//                        while decoding it the host calls BKC_OnSend again with an unreadable one
//   send-unreadable-at-once  two threads of the host call BKC_OnSend with unreadable message
//                        pointers at the same moment, each inside the host's fault handler; both
//                        fault while the other is faulting too
//   host-fault           a fault in the host's own code, no plug-in frame on the stack
//   boxes-left           how many message boxes this thread still has (shown or hidden), and
//                        whether the main window takes input
//   crash-reports <dir>  the report files in <dir> below the work folder, this run's stamps masked
//   crash-report <dir>   the newest report's telling lines, addresses masked
//   watch-launches       the plug-in's ShellExecuteExW calls are recorded, not carried out
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "tests/host/fault_catcher.h"
#include "tests/host/host_world.h"
#include "tests/host/import_patch.h"
#include "tests/host/message_boxes.h"
#include "tests/host/scenario.h"
#include "tests/host/transcript.h"

namespace host {
namespace {

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

// The time stamp a report written now would carry; stamps from this run on are masked.
std::string StampNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  return text;
}
const std::string gRunStart = StampNow();

std::vector<std::string> ReportFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((WorkPath(folder) + L"\\Velmora-crash-*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(Utf8(found.cFileName));
  while (FindNextFileW(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::string MaskStamp(const std::string& name) {
  static const std::regex stamp("Velmora-crash-(\\d{8}-\\d{6})");
  std::smatch m;
  if (std::regex_search(name, m, stamp) && m[1].str() >= gRunStart)
    return m.prefix().str() + "Velmora-crash-<time>" + m.suffix().str();
  return name;
}

std::string MaskAddresses(const std::string& line) {
  static const std::regex hex("0x[0-9A-F]{8}");
  return std::regex_replace(line, hex, "0x########");
}

// Addresses only: the exception code stays.
std::string MaskFaultAddresses(const std::string& line) {
  static const std::regex address("(\\+|reading |writing |executing )0x[0-9A-F]{8}");
  return std::regex_replace(line, address, "$010x########");
}

void CallSend(void* message) {
  const int verdict = World().exports.BKC_OnSend(static_cast<const char*>(message));
  Log().Line("callback BKC_OnSend -> " + std::to_string(verdict));
}

void HostOwnFault(void*) {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
}

std::string Caught(bool caught, DWORD code) {
  return caught ? "host caught exception " + Hex(code) : "host caught nothing";
}

void LogCaught(bool caught, DWORD code) {
  Log().Line(Caught(caught, code));
}

const VerbRegistration sendUnreadable("send-unreadable", [](const std::string&, Script&) {
  if (!World().exports.BKC_OnSend) {
    Log().Line("error: plug-in not loaded");
    return false;
  }
  // Reserved, never committed: any read of it faults.
  void* message = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
  Log().Line("send (unreadable message pointer)");
  DWORD code = 0;
  const bool caught = CallCatchingFaults(CallSend, message, code);
  LogCaught(caught, code);
  VirtualFree(message, 0, MEM_RELEASE);
  return true;
});

const VerbRegistration sendUnreadableResumed("send-unreadable-resumed", [](const std::string&,
                                                                           Script&) {
  if (!World().exports.BKC_OnSend) {
    Log().Line("error: plug-in not loaded");
    return false;
  }
  void* message = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
  Log().Line("send (unreadable message pointer, the host's handler mends it and resumes)");
  DWORD code = 0;
  const bool resumed = CallResumingFaults(CallSend, message, code);
  Log().Line(resumed ? "host resumed exception " + Hex(code) : "host resumed nothing");
  VirtualFree(message, 0, MEM_RELEASE);
  return true;
});

void SendInsideDecode(void* message) {
  World().insideNextDecode = [message] {
    Log().Line("host sends again while decoding (unreadable message pointer)");
    CallSend(message);
  };
  CallSend(const_cast<char*>("Subject: outer\r\n\r\nouter body\r\n"));
}

const VerbRegistration sendUnreadableNested("send-unreadable-nested", [](const std::string&,
                                                                         Script&) {
  if (!World().exports.BKC_OnSend) {
    Log().Line("error: plug-in not loaded");
    return false;
  }
  void* message = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
  Log().Line("send (a readable message)");
  DWORD code = 0;
  const bool caught = CallCatchingFaults(SendInsideDecode, message, code);
  LogCaught(caught, code);
  World().insideNextDecode = nullptr;
  VirtualFree(message, 0, MEM_RELEASE);
  return true;
});

// Holds each thread that arrives until `count` threads have, so they go on together.
class Meeting {
 public:
  explicit Meeting(LONG count)
      : left_(count), everyone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Meeting() { CloseHandle(everyone_); }
  Meeting(const Meeting&) = delete;
  Meeting& operator=(const Meeting&) = delete;

  void Arrive() {
    if (InterlockedDecrement(&left_) == 0) SetEvent(everyone_);
    WaitForSingleObject(everyone_, 10000);
  }

 private:
  volatile LONG left_;
  HANDLE everyone_;
};

struct FaultingSender {
  void* message = nullptr;
  HANDLE thread = nullptr;
  DWORD code = 0;
  bool caught = false;
};

DWORD WINAPI SendFromThread(void* argument) {
  auto& sender = *static_cast<FaultingSender*>(argument);
  InstallMessageBoxAnswerer();
  sender.caught = CallCatchingFaults(CallSend, sender.message, sender.code);
  RemoveMessageBoxAnswerer();
  return 0;
}

// Waits for the threads while serving this thread's windows: a box another thread shows owned by
// the main window sends it messages.
bool WaitServingWindows(const std::vector<HANDLE>& threads) {
  const ULONGLONG deadline = GetTickCount64() + 60000;
  for (;;) {
    const DWORD result = MsgWaitForMultipleObjects(static_cast<DWORD>(threads.size()),
                                                   threads.data(), TRUE, 1000, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0) return true;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (GetTickCount64() > deadline) return false;
  }
}

const VerbRegistration sendUnreadableAtOnce("send-unreadable-at-once", [](const std::string&,
                                                                          Script&) {
  if (!World().exports.BKC_OnSend) {
    Log().Line("error: plug-in not loaded");
    return false;
  }
  Log().Line("send from two threads at once (unreadable message pointers)");
  FaultingSender senders[2];
  Meeting meeting(2);
  // Both threads have been told the text is unreadable before either reads it and faults.
  World().afterUnreadableText = [&meeting] { meeting.Arrive(); };
  std::vector<HANDLE> threads;
  for (auto& sender : senders) {
    sender.message = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
    sender.thread = CreateThread(nullptr, 0, SendFromThread, &sender, 0, nullptr);
    threads.push_back(sender.thread);
  }
  const bool finished = WaitServingWindows(threads);
  World().afterUnreadableText = nullptr;
  if (!finished) {
    Log().Line("error: the sending threads did not finish");
    return false;
  }
  for (size_t i = 0; i < 2; ++i) {
    Log().Line("thread " + std::to_string(i + 1) + ": " +
               Caught(senders[i].caught, senders[i].code));
    CloseHandle(senders[i].thread);
    VirtualFree(senders[i].message, 0, MEM_RELEASE);
  }
  return true;
});

const VerbRegistration hostFault("host-fault", [](const std::string&, Script&) {
  Log().Line("host faults in its own code");
  DWORD code = 0;
  const bool caught = CallCatchingFaults(HostOwnFault, nullptr, code);
  LogCaught(caught, code);
  return true;
});

BOOL CALLBACK CountDialog(HWND window, LPARAM count) {
  wchar_t name[16] = L"";
  GetClassNameW(window, name, 16);
  if (lstrcmpW(name, L"#32770") == 0) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

const VerbRegistration boxesLeft("boxes-left", [](const std::string&, Script&) {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&count));
  Log().Line("message boxes left: " + std::to_string(count) + ", main window " +
             (IsWindowEnabled(World().mainWindow) ? "enabled" : "DISABLED"));
  return true;
});

const VerbRegistration crashReports("crash-reports", [](const std::string& folder, Script&) {
  const auto names = ReportFiles(folder);
  Log().Line("crash reports in " + folder + ": " + std::to_string(names.size()) + " files");
  for (const auto& name : names) Log().Line("  " + MaskStamp(name));
  return true;
});

const VerbRegistration crashReport("crash-report", [](const std::string& folder, Script&) {
  std::vector<std::string> reports;
  for (const auto& name : ReportFiles(folder))
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) reports.push_back(name);
  if (reports.empty()) {
    Log().Line("crash report in " + folder + ": none");
    return true;
  }
  std::ifstream in((WorkPath(folder) + L"\\" + Wide(reports.back())).c_str(), std::ios::binary);
  Log().Line("crash report " + MaskStamp(reports.back()) + ":");
  std::string section;
  int frames = 0;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("  ", 0) != 0) {
      section = line.substr(0, line.find(':'));
      frames = 0;
      if (section == "Time" || section == "Thread") line = section + ": <masked>";
      Log().Line("  " + MaskStamp(MaskFaultAddresses(line)));
      continue;
    }
    // The first frames name their modules; every loaded module is listed, Velmora's shown.
    if ((section == "Call stack" || section == "Thrown at") && frames++ < 2)
      Log().Line("  " + MaskAddresses(line));
    if (section == "Modules" && line.find(" Velmora.dll ") != std::string::npos)
      Log().Line("  " + Log().QuoteWide(Wide(MaskAddresses(line))));
  }
  return true;
});

BOOL WINAPI RecordingLaunch(SHELLEXECUTEINFOW* info) {
  Log().Line("plug-in launches " + Log().QuoteWide(info->lpFile ? info->lpFile : L"") + " verb " +
             Log().QuoteWide(info->lpVerb ? info->lpVerb : L"") + " (not started)");
  info->hInstApp = reinterpret_cast<HINSTANCE>(42);
  return TRUE;
}

const VerbRegistration watchLaunches("watch-launches", [](const std::string&, Script&) {
  if (!World().plugin) return false;
  PatchImport(World().plugin, "shell32.dll", "ShellExecuteExW",
              reinterpret_cast<void*>(&RecordingLaunch));
  return true;
});

}  // namespace
}  // namespace host
