// UNLHA32.DLL stand-in: packs, updates, deletes and unpacks LHA archives with "Unlha", lists
// and checks them, reports progress to an owner window and members to an enumeration callback.
#include <string>

#include "tests/archivers/common/lha_command.h"
#include "tests/archivers/common/win32/archiver_dll.h"

using standin::HARC;
using standin::TArchiverProc;
using standin::TEnumMemberProc;
using standin::TIndivisualInfo;

namespace {

std::string HandleText(const void* handle) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

STANDIN_EXPORT int WINAPI Unlha(HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
  return standin::RunMainEntry("Unlha", commandLine, output, size, standin::RunUnlha);
}

STANDIN_EXPORT HARC WINAPI UnlhaOpenArchive(HWND, LPCSTR archive, DWORD mode) {
  return standin::OpenListing("UnlhaOpenArchive", archive, mode, standin::ListLha);
}

STANDIN_EXPORT int WINAPI UnlhaCloseArchive(HARC archive) {
  standin::LogCall("UnlhaCloseArchive", HandleText(archive));
  return standin::CloseListing(archive);
}

STANDIN_EXPORT int WINAPI UnlhaFindFirst(HARC archive, LPCSTR mask, TIndivisualInfo* info) {
  standin::LogCall("UnlhaFindFirst", mask ? mask : "");
  return standin::FindFirstMember(archive, mask, info);
}

STANDIN_EXPORT int WINAPI UnlhaFindNext(HARC archive, TIndivisualInfo* info) {
  standin::LogCall("UnlhaFindNext", HandleText(archive));
  return standin::FindNextMember(archive, info);
}

STANDIN_EXPORT BOOL WINAPI UnlhaCheckArchive(LPCSTR archive, int mode) {
  std::string name = archive ? archive : "";
  standin::LogCall("UnlhaCheckArchive", name + "\t" + std::to_string(mode));
  return standin::CheckLha(name, mode) ? TRUE : FALSE;
}

STANDIN_EXPORT int WINAPI UnlhaGetArchiveType(LPCSTR archive) {
  std::string name = archive ? archive : "";
  standin::LogCall("UnlhaGetArchiveType", name);
  return standin::CheckLha(name, 0) ? 1 : 0;
}

STANDIN_EXPORT int WINAPI UnlhaExtractMem(HWND, LPCSTR commandLine, BYTE* buffer, DWORD size,
                                          std::uint32_t* time, WORD* attributes, DWORD* written) {
  return standin::ExtractMemEntry("UnlhaExtractMem", commandLine, buffer, size, time, attributes,
                                  written, standin::ExtractLhaToMemory);
}

STANDIN_EXPORT BOOL WINAPI UnlhaGetWriteTimeEx(HARC archive, FILETIME* time) {
  standin::LogCall("UnlhaGetWriteTimeEx", HandleText(archive));
  return standin::CurrentWriteTime(archive, time);
}

STANDIN_EXPORT BOOL WINAPI UnlhaGetOriginalSizeEx(HARC archive, LONGLONG* size) {
  standin::LogCall("UnlhaGetOriginalSizeEx", HandleText(archive));
  return standin::CurrentOriginalSize(archive, size);
}

STANDIN_EXPORT BOOL WINAPI UnlhaGetCompressedSizeEx(HARC archive, LONGLONG* size) {
  standin::LogCall("UnlhaGetCompressedSizeEx", HandleText(archive));
  return standin::CurrentCompressedSize(archive, size);
}

STANDIN_EXPORT BOOL WINAPI UnlhaSetOwnerWindowEx(HWND window, TArchiverProc proc) {
  standin::LogCall("UnlhaSetOwnerWindowEx", HandleText(window));
  return standin::RegisterOwner(window, proc);
}

STANDIN_EXPORT BOOL WINAPI UnlhaKillOwnerWindowEx(HWND window) {
  standin::LogCall("UnlhaKillOwnerWindowEx", HandleText(window));
  return standin::ForgetOwner(window);
}

STANDIN_EXPORT BOOL WINAPI UnlhaSetEnumMembersProc64(TEnumMemberProc proc, DWORD structSize) {
  standin::LogCall("UnlhaSetEnumMembersProc64", std::to_string(structSize));
  return standin::RegisterEnumProc(proc, structSize);
}

STANDIN_EXPORT BOOL WINAPI UnlhaClearEnumMembersProc64() {
  standin::LogCall("UnlhaClearEnumMembersProc64", "");
  return standin::ForgetEnumProc();
}
