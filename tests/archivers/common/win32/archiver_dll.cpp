#include "tests/archivers/common/win32/archiver_dll.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "tests/archivers/common/ansi_path.h"
#include "tests/archivers/common/command_line.h"
#include "tests/archivers/common/result_codes.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace standin {

namespace {

struct OwnerState {
  HWND window = nullptr;
  TArchiverProc proc = nullptr;
  TEnumMemberProc enumProc = nullptr;
};

OwnerState& Owner() {
  static OwnerState state;
  return state;
}

struct Listing {
  std::vector<MemberInfo> members;
  std::string mask;
  size_t next = 0;
  const MemberInfo* current = nullptr;
};

std::set<Listing*>& Listings() {
  static std::set<Listing*> listings;
  return listings;
}

Listing* Find(HARC archive) {
  auto* listing = static_cast<Listing*>(archive);
  return Listings().count(listing) ? listing : nullptr;
}

std::string ModuleFileName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
  const char* slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

FILETIME FileTimeOf(std::int64_t unixTime) {
  ULARGE_INTEGER ticks;
  ticks.QuadPart = static_cast<ULONGLONG>(unixTime * 10000000LL + 116444736000000000LL);
  FILETIME ft;
  ft.dwLowDateTime = ticks.LowPart;
  ft.dwHighDateTime = ticks.HighPart;
  return ft;
}

TExtractingInfoEx ExtractingInfoOf(const ProgressRecord& record) {
  TExtractingInfoEx info{};
  info.exinfo.dwFileSize = record.fileSize;
  info.exinfo.dwWriteSize = record.writeSize;
  CopyText(record.sourceName, info.exinfo.szSourceFileName, sizeof info.exinfo.szSourceFileName);
  CopyText(record.destName, info.exinfo.szDestFileName, sizeof info.exinfo.szDestFileName);
  info.dwCompressedSize = record.compressedSize;
  info.dwCRC = record.crc;
  info.wRatio = record.ratio;
  info.wDate = record.dosDate;
  info.wTime = record.dosTime;
  CopyText(record.attribute, info.szAttribute, sizeof info.szAttribute);
  CopyText(record.mode, info.szMode, sizeof info.szMode);
  return info;
}

void Fill(const MemberInfo& member, TIndivisualInfo* info) {
  std::memset(info, 0, sizeof *info);
  info->dwOriginalSize = member.originalSize;
  info->dwCompressedSize = member.compressedSize;
  info->dwCRC = member.crc;
  info->uOSType = member.osType;
  info->wRatio = member.ratio;
  info->wDate = member.dosDate;
  info->wTime = member.dosTime;
  CopyText(member.name, info->szFileName, sizeof info->szFileName);
  CopyText(member.attribute, info->szAttribute, sizeof info->szAttribute);
  CopyText(member.mode, info->szMode, sizeof info->szMode);
}

int NextMatch(Listing& listing, TIndivisualInfo* info) {
  while (listing.next < listing.members.size()) {
    const MemberInfo& member = listing.members[listing.next++];
    if (listing.mask.empty() || WildcardMatch(listing.mask, member.name)) {
      listing.current = &member;
      if (info) Fill(member, info);
      return 0;
    }
  }
  listing.current = nullptr;
  return -1;
}

}  // namespace

void CopyText(const std::string& text, char* buffer, size_t size) {
  if (buffer == nullptr || size == 0) return;
  size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

void LogCall(std::string_view entry, std::string_view arguments) {
  wchar_t path[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"VELMORA_ARCHIVER_LOG", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string line =
      ModuleFileName() + "\t" + std::string(entry) + "\t" + std::string(arguments) + "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

BOOL RegisterOwner(HWND window, TArchiverProc proc) {
  if (window != nullptr && !IsWindow(window)) return FALSE;
  Owner().window = window;
  Owner().proc = proc;
  return TRUE;
}

BOOL ForgetOwner(HWND window) {
  if (Owner().window != window) return FALSE;
  Owner().window = nullptr;
  Owner().proc = nullptr;
  return TRUE;
}

BOOL RegisterEnumProc(TEnumMemberProc proc, DWORD structSize) {
  if (structSize != sizeof(TEnumMemberInfo64)) return FALSE;
  Owner().enumProc = proc;
  return TRUE;
}

BOOL ForgetEnumProc() {
  Owner().enumProc = nullptr;
  return TRUE;
}

bool OwnerProgress::Report(ProgressState state, const ProgressRecord& record) {
  const OwnerState& owner = Owner();
  if (owner.window == nullptr && owner.proc == nullptr) return false;
  TExtractingInfoEx info = ExtractingInfoOf(record);
  static const UINT message = RegisterWindowMessageA("wm_arcextract");
  if (owner.proc != nullptr) return !owner.proc(owner.window, message, state, &info);
  return SendMessageA(owner.window, message, state, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool OwnerProgress::Enumerate(const ProgressRecord& record) {
  TEnumMemberProc proc = Owner().enumProc;
  if (proc == nullptr) return true;
  TEnumMemberInfo64 info{};
  info.dwStructSize = sizeof info;
  info.llOriginalSize = record.fileSize;
  info.llCompressedSize = record.compressedSize;
  info.dwCRC = record.crc;
  info.wRatio = record.ratio;
  FILETIME local, utc;
  DosDateTimeToFileTime(record.dosDate, record.dosTime, &local);
  LocalFileTimeToFileTime(&local, &utc);
  info.ftCreateTime = info.ftAccessTime = info.ftWriteTime = utc;
  std::wstring wide = PathFromAnsi(record.sourceName).native();
  info.dwAttributes = GetFileAttributesW(wide.c_str());
  if (info.dwAttributes == INVALID_FILE_ATTRIBUTES) info.dwAttributes = 0;
  CopyText(record.sourceName, info.szFileName, sizeof info.szFileName);
  CopyText(record.destName, info.szAddFileName, sizeof info.szAddFileName);
  return proc(&info) != 0;
}

int RunMainEntry(std::string_view entry, LPCSTR commandLine, LPSTR output, DWORD size,
                 const CommandRunner& run) {
  std::string line = commandLine ? commandLine : "";
  LogCall(entry, line);
  OwnerProgress progress;
  std::string text;
  int result;
  try {
    result = run(line, progress, text);
  } catch (const ArchiverError& e) {
    result = e.code;
    text += e.what;
  } catch (const std::exception& e) {
    result = kErrorCannotWrite;
    text += e.what();
  }
  CopyText(text, output, size);
  return result;
}

int ExtractMemEntry(std::string_view entry, LPCSTR commandLine, BYTE* buffer, DWORD size,
                    std::uint32_t* time, WORD* attributes, DWORD* written,
                    const MemoryExtractor& extract) {
  std::string line = commandLine ? commandLine : "";
  LogCall(entry, line);
  Bytes content;
  int result = extract(line, content);
  if (result != kOk) return result;
  DWORD n = static_cast<DWORD>(std::min<size_t>(content.size(), buffer ? size : 0));
  if (n) std::memcpy(buffer, content.data(), n);
  if (written) *written = n;
  if (time) *time = 0;
  if (attributes) *attributes = 0x20;
  return kOk;
}

HARC OpenListing(std::string_view entry, LPCSTR archive, DWORD mode, const MemberLister& list) {
  std::string name = archive ? archive : "";
  LogCall(entry, name + "\t" + std::to_string(mode));
  try {
    auto listing = std::make_unique<Listing>();
    listing->members = list(name);
    Listing* raw = listing.release();
    Listings().insert(raw);
    return raw;
  } catch (...) {
    return nullptr;
  }
}

int CloseListing(HARC archive) {
  Listing* listing = Find(archive);
  if (listing == nullptr) return kErrorHarcIsNotOpened;
  Listings().erase(listing);
  delete listing;
  return 0;
}

int FindFirstMember(HARC archive, LPCSTR mask, TIndivisualInfo* info) {
  Listing* listing = Find(archive);
  if (listing == nullptr) return kErrorHarcIsNotOpened;
  listing->mask = mask ? mask : "";
  if (listing->mask == "*" || listing->mask == "*.*") listing->mask.clear();
  listing->next = 0;
  return NextMatch(*listing, info);
}

int FindNextMember(HARC archive, TIndivisualInfo* info) {
  Listing* listing = Find(archive);
  if (listing == nullptr) return kErrorHarcIsNotOpened;
  return NextMatch(*listing, info);
}

BOOL CurrentWriteTime(HARC archive, FILETIME* time) {
  Listing* listing = Find(archive);
  if (listing == nullptr || listing->current == nullptr || time == nullptr) return FALSE;
  *time = FileTimeOf(listing->current->unixTime);
  return TRUE;
}

BOOL CurrentOriginalSize(HARC archive, LONGLONG* size) {
  Listing* listing = Find(archive);
  if (listing == nullptr || listing->current == nullptr || size == nullptr) return FALSE;
  *size = listing->current->originalSize;
  return TRUE;
}

BOOL CurrentCompressedSize(HARC archive, LONGLONG* size) {
  Listing* listing = Find(archive);
  if (listing == nullptr || listing->current == nullptr || size == nullptr) return FALSE;
  *size = listing->current->compressedSize;
  return TRUE;
}

}  // namespace standin
