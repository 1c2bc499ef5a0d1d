// Scenario scripts: one verb a line, '#' starts a comment. Each verb acts as the host or the
// user would, and everything that follows lands in the transcript.
#include "tests/host/scenario.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

#include "plugin/plugin_info.h"
#include "tests/host/host_services.h"
#include "tests/host/host_world.h"
#include "tests/host/message_boxes.h"
#include "tests/host/transcript.h"

namespace host {
namespace {

std::string FirstWord(const std::string& args, std::string* rest = nullptr) {
  const size_t space = args.find(' ');
  if (rest) *rest = space == std::string::npos ? "" : args.substr(space + 1);
  return args.substr(0, space);
}

void SetRegistryValue(const std::string& name, DWORD value) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\RIMArts\\B2\\Settings", 0, nullptr, 0, KEY_WRITE,
                  nullptr, &key, nullptr);
  RegSetValueExW(key, Wide(name).c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&value),
                 sizeof value);
  RegCloseKey(key);
}

bool Load() {
  const std::wstring path = World().pluginFolder + L"Velmora.dll";
  World().plugin = LoadLibraryW(path.c_str());
  if (!World().plugin) {
    Log().Line("load refused (error " + std::to_string(GetLastError()) + ")");
    return true;
  }
  WatchMessageBoxFlags(World().plugin);
  auto& e = World().exports;
#define VLM_RESOLVE(name, result, args) \
  e.name =                              \
      reinterpret_cast<name##Fn>(reinterpret_cast<void*>(GetProcAddress(World().plugin, #name)));
  VLM_PLUGIN_CALLBACKS(VLM_RESOLVE)
#undef VLM_RESOLVE
  Log().Line("load ok");
  return true;
}

bool Require(void* export_, const char* name) {
  if (!export_) Log().Line(std::string("error: plug-in not loaded or lacks ") + name);
  return export_ != nullptr;
}

std::string ReadWholeFile(const std::wstring& path, bool* found = nullptr) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (found) *found = in.good();
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::map<std::string, Verb>& Verbs() {
  static std::map<std::string, Verb> verbs = {
      {"version",
       [](const std::string& a, Script&) {
         World().version = a;
         return true;
       }},
      {"registry",
       [](const std::string& a, Script&) {
         std::string rest;
         const std::string name = FirstWord(a, &rest);
         if (name == "absent") {
           RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\RIMArts\\B2\\Settings");
         } else {
           SetRegistryValue(name, static_cast<DWORD>(std::stoul(rest)));
         }
         Log().Line("registry " + a);
         return true;
       }},
      {"load", [](const std::string&, Script&) { return Load(); }},
      {"unload",
       [](const std::string&, Script&) {
         if (World().plugin) FreeLibrary(World().plugin);
         World().plugin = nullptr;
         World().exports = {};
         Log().Line("unloaded");
         return true;
       }},
      {"start",
       [](const std::string&, Script&) {
         if (!Require(reinterpret_cast<void*>(World().exports.BKC_OnStart), "BKC_OnStart"))
           return false;
         Log().Line("callback BKC_OnStart -> " + std::to_string(World().exports.BKC_OnStart()));
         return true;
       }},
      {"exit",
       [](const std::string&, Script&) {
         if (!Require(reinterpret_cast<void*>(World().exports.BKC_OnExit), "BKC_OnExit"))
           return false;
         Log().Line("callback BKC_OnExit -> " + std::to_string(World().exports.BKC_OnExit()));
         return true;
       }},
      {"info",
       [](const std::string&, Script&) {
         if (!Require(reinterpret_cast<void*>(World().exports.BKC_OnPlugInInfo),
                      "BKC_OnPlugInInfo"))
           return false;
         char block[vlm::kPluginInfoSize];
         std::memset(block, 0x7F, sizeof block);
         const int result = World().exports.BKC_OnPlugInInfo(block);
         Log().Line("callback BKC_OnPlugInInfo -> " + std::to_string(result));
         for (int field = 0; field < 4; ++field) {
           const char* text = block + field * vlm::kPluginInfoFieldSize;
           Log().Line("  info[" + std::to_string(field * 80) + "] " + Log().QuoteShiftJis(text) +
                      " (" + std::to_string(strnlen(text, vlm::kPluginInfoFieldSize)) + " bytes)");
         }
         return true;
       }},
      {"answer",
       [](const std::string& a, Script&) {
         QueueAnswer(a);
         return true;
       }},
      {"compose",
       [](const std::string& a, Script&) {
         World().OpenCompose(a.empty() ? "new" : a);
         return true;
       }},
      {"show",
       [](const std::string& a, Script&) {
         auto* c = World().FindCompose(a);
         if (!c) {
           Log().Line("error: no compose window " + a);
           return false;
         }
         Log().Line(c->name + ":");
         for (const auto& [name, value] : c->headers)
           Log().Line("  header " + name + ": " + Log().Quote(value.c_str()));
         for (const auto& path : c->attachments)
           Log().Line("  attachment " + Log().Quote(path.c_str()));
         if (!c->body.empty()) Log().Line("  body " + Log().Quote(c->body.c_str()));
         return true;
       }},
      // The message goes out: Becky! reads each attachment only now. Each is logged with its
      // size (archives hold file times, so their bytes change from run to run), and a copy goes
      // to sent\<window>\<n>-<name> for the scenario's check.
      {"send-compose",
       [](const std::string& a, Script&) {
         auto* c = World().FindCompose(a);
         if (!c) {
           Log().Line("error: no compose window " + a);
           return false;
         }
         const std::wstring folder = WorkPath("sent\\" + c->name);
         CreateDirectoryW(WorkPath("sent").c_str(), nullptr);
         CreateDirectoryW(folder.c_str(), nullptr);
         int number = 0;
         for (const auto& path : c->attachments) {
           bool found = false;
           const std::string bytes = ReadWholeFile(FromAnsi(path.c_str()), &found);
           const std::string name = path.substr(path.find_last_of("\\/") + 1);
           const std::wstring copy =
               folder + L"\\" + std::to_wstring(++number) + L"-" + FromAnsi(name.c_str());
           std::ofstream(copy.c_str(), std::ios::binary) << bytes;
           Log().Line("sent " + c->name + " attachment " + Log().Quote(path.c_str()) +
                      (found ? " bytes=" + std::to_string(bytes.size()) : " missing"));
         }
         return true;
       }},
      {"file",
       [](const std::string& a, Script& s) {
         std::string content;
         while (s.next < s.lines.size() && s.lines[s.next] != "end")
           content += s.lines[s.next++] + "\r\n";
         ++s.next;
         std::ofstream out(WorkPath(a).c_str(), std::ios::binary | std::ios::trunc);
         out << content;
         return true;
       }},
      {"show-file",
       [](const std::string& a, Script&) {
         bool found = false;
         const std::string content = ReadWholeFile(WorkPath(a), &found);
         if (!found) {
           Log().Line("file " + a + ": absent");
           return true;
         }
         Log().Line("file " + a + ":");
         std::istringstream lines(content);
         for (std::string line; std::getline(lines, line);) {
           if (!line.empty() && line.back() == '\r') line.pop_back();
           Log().Line("  " + Utf8(FromAnsi(line.c_str())));
         }
         return true;
       }},
      {"pump",
       [](const std::string&, Script&) {
         Pump();
         return true;
       }},
      {"note",
       [](const std::string& a, Script&) {
         Log().Line("# " + a);
         return true;
       }},
  };
  return verbs;
}

}  // namespace

std::wstring WorkPath(const std::string& relative) {
  return World().workFolder + L"\\" + Wide(relative);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void RegisterVerb(const std::string& name, Verb verb) {
  Verbs()[name] = std::move(verb);
}

bool RunScenario(const std::wstring& scenarioPath) {
  Script script;
  std::istringstream in(ReadWholeFile(scenarioPath));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    script.lines.push_back(line);
  }
  script.folder = scenarioPath.substr(0, scenarioPath.find_last_of(L"\\/") + 1);
  bool ok = true;
  while (script.next < script.lines.size()) {
    const std::string line = script.lines[script.next++];
    if (line.empty() || line[0] == '#') continue;
    std::string args;
    const std::string verb = FirstWord(line, &args);
    const auto it = Verbs().find(verb);
    if (it == Verbs().end()) {
      Log().Line("error: unknown verb " + verb);
      return false;
    }
    if (!it->second(args, script)) ok = false;
    Pump();
  }
  if (PendingAnswers() > 0) Log().Line("unused answers: " + std::to_string(PendingAnswers()));
  if (OutstandingBuffers() > 0)
    Log().Line("buffers not freed: " + std::to_string(OutstandingBuffers()));
  return ok;
}

}  // namespace host
