// The file room on Windows: attributes and FindFirstFileEx, wide names throughout.
#include <windows.h>

#include "base/files.h"
#include "base/path.h"
#include "base/win32/scoped.h"

namespace vlm {
namespace {

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

DWORD AttributesOf(const std::wstring& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
}

// Seconds since 1970 of a file time (100 ns since 1601).
std::int64_t UnixTime(const FILETIME& time) {
  const std::int64_t ticks = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return ticks == 0 ? 0 : ticks / 10'000'000 - 11'644'473'600;
}

// The system's own words for an error code, without the line break it ends with.
std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
    message.pop_back();
  return message.empty() ? L"エラーコード " + std::to_wstring(error) : message;
}

void ClearReadOnly(const std::wstring& path) {
  const DWORD attributes = AttributesOf(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

}  // namespace

std::filesystem::path FilePath(std::wstring_view path) {
  return std::filesystem::path(path);
}

std::wstring PathText(const std::filesystem::path& path) {
  return path.wstring();
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool AnythingNamed(const std::wstring& path) {
  return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsLinkedFolder(const std::wstring& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::int64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool RemoveFile(const std::wstring& path) {
  const DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  ClearReadOnly(path);
  return DeleteFileW(path.c_str()) != 0;
}

std::wstring CopyFileOver(const std::wstring& from, const std::wstring& to) {
  if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) return SystemMessage(GetLastError());
  ClearReadOnly(to);
  return {};
}

std::wstring MakeFolder(const std::wstring& path) {
  if (CreateDirectoryW(path.c_str(), nullptr) || FolderExists(path)) return {};
  return SystemMessage(GetLastError());
}

bool CreateNewFolder(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

bool RemoveEmptyFolder(const std::wstring& path) {
  ClearReadOnly(path);
  return RemoveDirectoryW(path.c_str()) != 0;
}

std::wstring CurrentFolder() {
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

bool SetCurrentFolder(const std::wstring& path) {
  return SetCurrentDirectoryW(path.c_str()) != 0;
}

void ForEachEntry(const std::wstring& pattern, const TFolderEntryProc& each) {
  WIN32_FIND_DATAW data{};
  win::TScopedFindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data,
                                               FindExSearchNameMatch, nullptr, 0));
  if (!find) return;
  do {
    if (IsDotEntry(data.cFileName)) continue;
    TFolderEntry entry;
    entry.name = data.cFileName;
    entry.shortName = data.cAlternateFileName;
    entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.linked = entry.folder && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    entry.hidden = (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    entry.size = entry.folder
                     ? 0
                     : (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.writeTime = UnixTime(data.ftLastWriteTime);
    if (!each(entry)) return;
  } while (FindNextFileW(find.get(), &data));
}

}  // namespace vlm
