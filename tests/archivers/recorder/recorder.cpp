// The recording stand-in archiver: built once per archiver name, with STANDIN_PREFIX naming
// its entries. Every call is logged (see LogCall); the answers come from the script file named
// by the environment variable VELMORA_ARCHIVER_SCRIPT (see recorder_script.h), read afresh on
// every call so a test can change them between calls.
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/archivers/common/ansi_path.h"
#include "tests/archivers/common/recorder_script.h"
#include "tests/archivers/common/result_codes.h"
#include "tests/archivers/common/win32/archiver_dll.h"

#define STANDIN_JOIN2(a, b) a##b
#define STANDIN_JOIN(a, b) STANDIN_JOIN2(a, b)
#define STANDIN_ENTRY(suffix) STANDIN_JOIN(STANDIN_PREFIX, suffix)
#define STANDIN_TEXT2(a) #a
#define STANDIN_TEXT(a) STANDIN_TEXT2(a)
#define STANDIN_NAME(suffix) STANDIN_TEXT(STANDIN_PREFIX) suffix

extern "C" IMAGE_DOS_HEADER __ImageBase;

using standin::HARC;
using standin::TArchiverProc;
using standin::TEnumMemberProc;
using standin::TIndivisualInfo;

namespace {

std::string DllName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
  const char* slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

standin::RecorderScript Script() {
  wchar_t path[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"VELMORA_ARCHIVER_SCRIPT", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return standin::ParseRecorderScript(text, DllName());
}

std::string HandleText(const void* handle) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

// The password SetDefaultPassword gave, checked by FindFirst against the script's.
std::string& GivenPassword() {
  static std::string password;
  return password;
}

int ScriptedMain(std::string_view, standin::ProgressSink& progress, std::string& output) {
  standin::RecorderScript script = Script();
  output = script.output;
  for (const auto& [state, record] : script.progress) {
    if (progress.Report(state, record)) return standin::kErrorUserCancel;
  }
  return script.Result("main", standin::kOk);
}

std::vector<standin::MemberInfo> ScriptedMembers(std::string_view) {
  standin::RecorderScript script = Script();
  bool opens = script.Result("OpenArchive", script.members.empty() ? 0 : 1) != 0;
  if (!opens) throw standin::ArchiverError{standin::kErrorArcFileOpen, "scripted failure"};
  return script.members;
}

BOOL Scripted(const char* entry, BOOL answer) {
  return Script().Result(entry, 1) != 0 ? answer : FALSE;
}

}  // namespace

STANDIN_EXPORT int WINAPI STANDIN_PREFIX(HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
  return standin::RunMainEntry(STANDIN_NAME(""), commandLine, output, size, ScriptedMain);
}

STANDIN_EXPORT HARC WINAPI STANDIN_ENTRY(OpenArchive)(HWND, LPCSTR archive, DWORD mode) {
  return standin::OpenListing(STANDIN_NAME("OpenArchive"), archive, mode, ScriptedMembers);
}

STANDIN_EXPORT int WINAPI STANDIN_ENTRY(CloseArchive)(HARC archive) {
  standin::LogCall(STANDIN_NAME("CloseArchive"), HandleText(archive));
  return standin::CloseListing(archive);
}

STANDIN_EXPORT int WINAPI STANDIN_ENTRY(FindFirst)(HARC archive, LPCSTR mask,
                                                   TIndivisualInfo* info) {
  standin::LogCall(STANDIN_NAME("FindFirst"), mask ? mask : "");
  standin::RecorderScript script = Script();
  if (script.password && *script.password != GivenPassword()) return standin::kErrorPasswordFile;
  int scripted = script.Result("FindFirst", 0);
  return scripted != 0 ? scripted : standin::FindFirstMember(archive, mask, info);
}

STANDIN_EXPORT int WINAPI STANDIN_ENTRY(FindNext)(HARC archive, TIndivisualInfo* info) {
  standin::LogCall(STANDIN_NAME("FindNext"), HandleText(archive));
  return standin::FindNextMember(archive, info);
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(CheckArchive)(LPCSTR archive, int mode) {
  standin::LogCall(STANDIN_NAME("CheckArchive"),
                   std::string(archive ? archive : "") + "\t" + std::to_string(mode));
  return Script().Result("CheckArchive", 0);
}

STANDIN_EXPORT int WINAPI STANDIN_ENTRY(GetArchiveType)(LPCSTR archive) {
  standin::LogCall(STANDIN_NAME("GetArchiveType"), archive ? archive : "");
  return Script().Result("GetArchiveType", 0);
}

STANDIN_EXPORT int WINAPI STANDIN_ENTRY(ExtractMem)(HWND, LPCSTR commandLine, BYTE* buffer,
                                                    DWORD size, std::uint32_t* time,
                                                    WORD* attributes, DWORD* written) {
  return standin::ExtractMemEntry(STANDIN_NAME("ExtractMem"), commandLine, buffer, size, time,
                                  attributes, written,
                                  [](std::string_view, standin::Bytes& content) {
                                    standin::RecorderScript script = Script();
                                    content.assign(script.memory.begin(), script.memory.end());
                                    return script.Result("ExtractMem", standin::kOk);
                                  });
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(GetWriteTimeEx)(HARC archive, FILETIME* time) {
  standin::LogCall(STANDIN_NAME("GetWriteTimeEx"), HandleText(archive));
  return Scripted("GetWriteTimeEx", standin::CurrentWriteTime(archive, time));
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(GetCreateTimeEx)(HARC archive, FILETIME* time) {
  standin::LogCall(STANDIN_NAME("GetCreateTimeEx"), HandleText(archive));
  return Scripted("GetCreateTimeEx", standin::CurrentWriteTime(archive, time));
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(GetAccessTimeEx)(HARC archive, FILETIME* time) {
  standin::LogCall(STANDIN_NAME("GetAccessTimeEx"), HandleText(archive));
  return Scripted("GetAccessTimeEx", standin::CurrentWriteTime(archive, time));
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(GetOriginalSizeEx)(HARC archive, LONGLONG* size) {
  standin::LogCall(STANDIN_NAME("GetOriginalSizeEx"), HandleText(archive));
  return Scripted("GetOriginalSizeEx", standin::CurrentOriginalSize(archive, size));
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(GetCompressedSizeEx)(HARC archive, LONGLONG* size) {
  standin::LogCall(STANDIN_NAME("GetCompressedSizeEx"), HandleText(archive));
  return Scripted("GetCompressedSizeEx", standin::CurrentCompressedSize(archive, size));
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(SetOwnerWindowEx)(HWND window, TArchiverProc proc) {
  standin::LogCall(STANDIN_NAME("SetOwnerWindowEx"), HandleText(window));
  return standin::RegisterOwner(window, proc);
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(KillOwnerWindowEx)(HWND window) {
  standin::LogCall(STANDIN_NAME("KillOwnerWindowEx"), HandleText(window));
  return standin::ForgetOwner(window);
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(SetEnumMembersProc64)(TEnumMemberProc proc,
                                                               DWORD structSize) {
  standin::LogCall(STANDIN_NAME("SetEnumMembersProc64"), std::to_string(structSize));
  return standin::RegisterEnumProc(proc, structSize);
}

STANDIN_EXPORT BOOL WINAPI STANDIN_ENTRY(ClearEnumMembersProc64)() {
  standin::LogCall(STANDIN_NAME("ClearEnumMembersProc64"), "");
  return standin::ForgetEnumProc();
}

// The YZ1 archivers also take a password for an archive and ask for one in a dialog.
STANDIN_EXPORT int WINAPI STANDIN_ENTRY(SetDefaultPassword)(HARC archive, LPCSTR password) {
  standin::LogCall(STANDIN_NAME("SetDefaultPassword"),
                   HandleText(archive) + "\t" + (password ? password : ""));
  GivenPassword() = password ? password : "";
  return 0;
}

STANDIN_EXPORT int WINAPI STANDIN_ENTRY(PasswordDialog)(HWND window, LPSTR password, DWORD size) {
  standin::LogCall(STANDIN_NAME("PasswordDialog"),
                   HandleText(window) + "\t" + std::to_string(size));
  standin::RecorderScript script = Script();
  if (script.dialogResult >= 0) standin::CopyText(script.dialogPassword, password, size);
  return script.dialogResult;
}
