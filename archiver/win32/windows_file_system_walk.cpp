#include "archiver/win32/windows_file_system_walk.h"

#include <windows.h>

#include "archiver/archiver_errors.h"
#include "base/path.h"
#include "archiver/win32/extra_streams.h"
#include "base/file_name_key.h"
#include "base/win32/scoped.h"

namespace vlm {
namespace {

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

TDateStamp LocalStamp(const FILETIME& utc) {
  FILETIME local{};
  SYSTEMTIME time{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return 0;
  return MakeDateStamp(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

// Runs `each` over the entries of one directory search; stops when it answers false.
template <typename Each>
void Search(const std::wstring& pattern, bool foldersOnly, Each each) {
  WIN32_FIND_DATAW data{};
  win::ScopedFindHandle find(FindFirstFileExW(
      pattern.c_str(), FindExInfoStandard, &data,
      foldersOnly ? FindExSearchLimitToDirectories : FindExSearchNameMatch, nullptr, 0));
  if (!find) return;
  do {
    if (!IsDotEntry(data.cFileName) && !each(data)) return;
  } while (FindNextFileW(find.get(), &data));
}

class TWindowsFileSystemWalk : public TFileSystemWalk {
 public:
  void ListFiles(const std::wstring& pattern, bool includeHidden, bool,
                 const TFoundEntryProc& each) override {
    const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY |
                           (includeHidden ? 0 : FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Search(pattern, false, [&](const WIN32_FIND_DATAW& data) {
      if (data.dwFileAttributes & excluded) return true;
      return each(
          TFoundEntry{data.cFileName, data.cAlternateFileName, LocalStamp(data.ftLastWriteTime)});
    });
  }

  void ListFolders(const std::wstring& folder, const TFoundEntryProc& each) override {
    Search(JoinPath(folder, L"*.*"), true, [&](const WIN32_FIND_DATAW& data) {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
      return each(TFoundEntry{data.cFileName, data.cAlternateFileName, 0,
                              (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    });
  }

  bool FolderExists(const std::wstring& path) override {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::wstring CurrentFolder() override {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
  }

  void SetCurrentFolder(const std::wstring& folder) override {
    if (!SetCurrentDirectoryW(folder.c_str())) {
      throw EArchiver(L"フォルダ \"" + folder + L"\" に移動できません。");
    }
  }

  std::wstring DriveCurrentFolder(const std::wstring& drive) override {
    // The full path of a bare drive is that drive's current folder.
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(drive.c_str(), MAX_PATH, buffer, nullptr);
    return length == 0 || length >= MAX_PATH ? L"" : std::wstring(buffer, length);
  }

  void RestoreDriveCurrentFolder(const std::wstring&, const std::wstring& folder) override {
    if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
  }

  void CopyStreams(const std::wstring& path, const std::wstring& separator,
                   std::vector<TStreamCopy>& made) override {
    CopyStreamsOut(path, separator, made);
  }

  std::wstring NameKey(std::wstring_view name) override { return FileNameKey(name); }

  TCenturyWindow CenturyWindow() override {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, 50};
  }
};

}  // namespace

std::unique_ptr<TFileSystemWalk> CreateWindowsFileSystemWalk() {
  return std::make_unique<TWindowsFileSystemWalk>();
}

}  // namespace vlm
