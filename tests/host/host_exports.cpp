// The 55 host functions a plug-in binds, exported undecorated (the link uses --kill-at). Each
// records its call in the transcript. Build variants leave out BKA_SetStatus or BKA_Connect.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/host/host_services.h"
#include "tests/host/host_world.h"
#include "tests/host/transcript.h"

#define BKA extern "C" __declspec(dllexport)

using host::Log;
using host::World;

namespace {

std::string Q(const char* text) {
  return Log().Quote(text);
}
std::string W(void* window) {
  return Log().Window(static_cast<HWND>(window));
}

void Unused(const char* name) {
  Log().Line(std::string("host ") + name + " (not expected from the plug-in)");
}

void SetStatusText(HWND status, const char* text) {
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(host::FromAnsi(text).c_str()));
}

}  // namespace

BKA const char* WINAPI BKA_GetVersion() {
  Log().Line("host GetVersion -> " + Q(World().version.c_str()));
  return World().version.c_str();
}
BKA void WINAPI BKA_Command(HWND, const char*) {
  Unused("Command");
}
BKA int WINAPI BKA_GetWindowHandles(void** main, void** tree, void** list, void** view) {
  Unused("GetWindowHandles");
  if (main) *main = World().mainWindow;
  if (tree) *tree = nullptr;
  if (list) *list = nullptr;
  if (view) *view = nullptr;
  return 1;
}
BKA int WINAPI BKA_RegisterCommand(const char* description, int target,
                                   vlm::TCommandHandler handler) {
  auto& commands = World().commands;
  const int id = 32000 + static_cast<int>(commands.size());
  commands.push_back({id, description ? description : "", target, handler});
  Log().Line("host RegisterCommand(" + Log().QuoteShiftJis(description) + ", " +
             std::to_string(target) + ") -> " + std::to_string(id));
  return id;
}
BKA int WINAPI BKA_RegisterUICallback(int, void*) {
  Unused("RegisterUICallback");
  return 0;
}
BKA const char* WINAPI BKA_GetDataFolder() {
  Unused("GetDataFolder");
  return World().Keep(host::ToAnsi(World().workFolder + L"\\"));
}
BKA const char* WINAPI BKA_GetTempFolder() {
  const char* folder = World().Keep(host::ToAnsi(World().tempFolder));
  Log().Line(std::string("host GetTempFolder -> ") + Q(folder));
  return folder;
}
BKA const char* WINAPI BKA_GetTempFileName(const char* type) {
  return host::TempFileName(type);
}
BKA const char* WINAPI BKA_GetCurrentMailBox() {
  Unused("GetCurrentMailBox");
  return "";
}
BKA void WINAPI BKA_SetCurrentMailBox(const char*) {
  Unused("SetCurrentMailBox");
}
BKA const char* WINAPI BKA_GetCurrentFolder() {
  Log().Line("host GetCurrentFolder");
  return World().Keep(host::CurrentFolder());
}
BKA void WINAPI BKA_SetCurrentFolder(const char*) {
  Unused("SetCurrentFolder");
}
BKA const char* WINAPI BKA_GetFolderDisplayName(const char*) {
  Unused("GetFolderDisplayName");
  return "";
}
BKA void WINAPI BKA_SetMessageText(HWND window, const char* text) {
  Log().Line("host SetMessageText(" + W(window) + ", " + Q(text) + ")");
  auto* compose = World().FindCompose(window);
  SetStatusText(compose ? compose->status : World().mainStatus, text);
}
BKA const char* WINAPI BKA_GetCurrentMail() {
  return host::CurrentMail();
}
BKA void WINAPI BKA_SetCurrentMail(const char*) {
  Unused("SetCurrentMail");
}
BKA int WINAPI BKA_GetNextMail(int, char*, int, int) {
  Unused("GetNextMail");
  return -1;
}
BKA void WINAPI BKA_SetSel(const char*, int) {
  Unused("SetSel");
}
BKA int WINAPI BKA_AppendMessage(const char*, const char*) {
  Unused("AppendMessage");
  return 0;
}
BKA int WINAPI BKA_MoveSelectedMessages(const char*, int) {
  Unused("MoveSelectedMessages");
  return 0;
}
BKA std::uint32_t WINAPI BKA_GetStatus(const char* mail) {
  return host::MailStatus(mail);
}
#ifndef VLM_HOST_WITHOUT_SETSTATUS
BKA std::uint32_t WINAPI BKA_SetStatus(const char*, std::uint32_t, std::uint32_t) {
  Unused("SetStatus");
  return 0;
}
#endif
BKA HWND WINAPI BKA_ComposeMail(const char* url) {
  if (World().composeMailFails) {
    World().composeMailFails = false;
    Log().Line("host ComposeMail(" + Q(url) + ") -> no window");
    return nullptr;
  }
  Log().Line("host ComposeMail(" + Q(url) + ")");
  return World().OpenCompose("new");
}
BKA int WINAPI BKA_GetCharSet(const char*, char*, int) {
  Unused("GetCharSet");
  return 0;
}
BKA char* WINAPI BKA_GetSource(const char* mail) {
  return host::MailSource(mail);
}
BKA void WINAPI BKA_SetSource(const char* mail, const char* source) {
  host::SetMailSource(mail, source);
}
BKA char* WINAPI BKA_GetHeader(const char* mail) {
  return host::MailHeader(mail);
}
BKA char* WINAPI BKA_GetText(char*, int) {
  Unused("GetText");
  return nullptr;
}
BKA void WINAPI BKA_SetText(int, const char*) {
  Unused("SetText");
}
BKA void WINAPI BKA_GetSpecifiedHeader(const char* header, char* buffer, int size) {
  host::GetSpecifiedHeader(header, buffer, size);
}
BKA void WINAPI BKA_SetSpecifiedHeader(const char* header, const char* value) {
  host::SetSpecifiedHeader(header, value);
}
BKA int WINAPI BKA_CompGetCharSet(HWND, char*, int) {
  Unused("CompGetCharSet");
  return 0;
}
BKA char* WINAPI BKA_CompGetSource(HWND) {
  Unused("CompGetSource");
  return nullptr;
}
BKA void WINAPI BKA_CompSetSource(HWND, const char*) {
  Unused("CompSetSource");
}
BKA char* WINAPI BKA_CompGetHeader(HWND) {
  Unused("CompGetHeader");
  return nullptr;
}
BKA void WINAPI BKA_CompGetSpecifiedHeader(HWND, const char*, char*, int) {
  Unused("CompGetSpecifiedHeader");
}
BKA void WINAPI BKA_CompSetSpecifiedHeader(HWND window, const char* header, const char* value) {
  Log().Line("host CompSetSpecifiedHeader(" + W(window) + ", " + Q(header) + ", " + Q(value) + ")");
  if (auto* compose = World().FindCompose(window)) {
    compose->headers[header ? header : ""] = value ? value : "";
    World().ShowContents(*compose);
  }
}
BKA char* WINAPI BKA_CompGetText(HWND, char*, int) {
  Unused("CompGetText");
  return nullptr;
}
BKA void WINAPI BKA_CompSetText(HWND window, int mode, const char* text) {
  Log().Line("host CompSetText(" + W(window) + ", " + std::to_string(mode) + ", " + Q(text) + ")");
  if (auto* compose = World().FindCompose(window)) {
    compose->body += text ? text : "";
    World().ShowContents(*compose);
  }
}
BKA void WINAPI BKA_CompAttachFile(HWND window, const char* path, const char* mime) {
  Log().Line("host CompAttachFile(" + W(window) + ", " + Q(path) + ", " + Q(mime) + ")");
  if (auto* compose = World().FindCompose(window)) {
    compose->attachments.push_back(path ? path : "");
    World().ShowContents(*compose);
  }
}
BKA void* WINAPI BKA_Alloc(std::uint32_t size) {
  return host::Alloc(size);
}
BKA void* WINAPI BKA_ReAlloc(void*, std::uint32_t) {
  Unused("ReAlloc");
  return nullptr;
}
BKA void WINAPI BKA_Free(void* buffer) {
  host::Free(buffer);
}
BKA char* WINAPI BKA_ISO_2022_JP(const char* text, int encode) {
  return host::Iso2022Jp(text, encode);
}
BKA char* WINAPI BKA_ISO_2022_KR(const char*, int) {
  Unused("ISO_2022_KR");
  return nullptr;
}
BKA char* WINAPI BKA_HZ_GB2312(const char*, int) {
  Unused("HZ_GB2312");
  return nullptr;
}
BKA char* WINAPI BKA_ISO_8859_2(const char*, int) {
  Unused("ISO_8859_2");
  return nullptr;
}
BKA char* WINAPI BKA_EUC_JP(const char*, int) {
  Unused("EUC_JP");
  return nullptr;
}
BKA char* WINAPI BKA_UTF_7(const char*, int) {
  Unused("UTF_7");
  return nullptr;
}
BKA char* WINAPI BKA_UTF_8(const char*, int) {
  Unused("UTF_8");
  return nullptr;
}
BKA int WINAPI BKA_B64Convert(const char* output, const char* input, int encode) {
  return host::B64Convert(output, input, encode);
}
BKA int WINAPI BKA_QPConvert(const char*, const char*, int) {
  Unused("QPConvert");
  return 0;
}
BKA char* WINAPI BKA_MIMEHeader(const char* text, char* buffer, int size, int encode) {
  return host::MimeHeader(text, buffer, size, encode);
}
BKA char* WINAPI BKA_SerializeRcpts(const char*) {
  Unused("SerializeRcpts");
  return nullptr;
}
#ifndef VLM_HOST_WITHOUT_CONNECT
BKA int WINAPI BKA_Connect(int) {
  Unused("Connect");
  return 0;
}
#endif
