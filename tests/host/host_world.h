#pragma once
// The stand-in host's state: its windows, folders, the loaded plug-in and what the plug-in asked.
#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "plugin/plugin_exports.h"

namespace host {

struct ComposeWindow {
  HWND window = nullptr;
  HWND status = nullptr;
  std::string name;
  std::map<std::string, std::string> headers;  // ANSI
  std::vector<std::string> attachments;        // ANSI paths
  std::string body;                            // ANSI
};

struct RegisteredCommand {
  int id = 0;
  std::string description;
  int target = 0;
  vlm::TCommandHandler handler = nullptr;
};

struct PluginExports {
#define VLM_PLUGIN_FIELD(name, result, args) name##Fn name = nullptr;
  VLM_PLUGIN_CALLBACKS(VLM_PLUGIN_FIELD)
#undef VLM_PLUGIN_FIELD
};

class HostWorld {
 public:
  std::string version = "2.00.06";
  std::wstring workFolder;    // no trailing separator
  std::wstring pluginFolder;  // work\PlugIns\ (trailing separator)
  std::wstring tempFolder;    // work\Temp\ (trailing separator)
  HWND mainWindow = nullptr;
  HWND mainStatus = nullptr;
  std::deque<ComposeWindow> composeWindows;
  std::vector<RegisteredCommand> commands;
  HMODULE plugin = nullptr;
  PluginExports exports;
  std::deque<std::string> keepAlive;  // texts handed to the plug-in stay valid for the run
  bool composeMailFails = false;      // the next ComposeMail opens no window (verb "fail")
  HFONT editorFont = nullptr;         // the compose body's fixed-pitch face, made once
  // Run once inside the next ISO_2022_JP call, as a host that calls its plug-ins back while
  // serving one of them (verb "send-unreadable-nested").
  std::function<void()> insideNextDecode;
  // Run by every ISO_2022_JP call handed a text it cannot read, after saying so, on the calling
  // thread; set only while no plug-in call runs (verb "send-unreadable-at-once").
  std::function<void()> afterUnreadableText;

  HostWorld() = default;
  HostWorld(const HostWorld&) = delete;
  HostWorld& operator=(const HostWorld&) = delete;
  ~HostWorld() {
    if (editorFont != nullptr) DeleteObject(editorFont);
  }

  void CreateMainWindow();
  // Opens a compose window and tells the plug-in, as the host does for every compose window.
  HWND OpenCompose(const std::string& kind);
  // Puts the window's headers, body text and attachments into its controls, for the eye.
  void ShowContents(const ComposeWindow& compose);
  ComposeWindow* FindCompose(HWND window);
  ComposeWindow* FindCompose(const std::string& name);
  std::string WindowName(HWND window) const;
  HWND WindowByName(const std::string& name) const;
  const char* Keep(std::string text);
  char* KeepMutable(std::string text);
};

HostWorld& World();

}  // namespace host
