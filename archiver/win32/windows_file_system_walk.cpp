#include "archiver/win32/windows_file_system_walk.h"

#include <windows.h>

#include "archiver/archiver_errors.h"
#include "base/path.h"
#include "archiver/win32/extra_streams.h"
#include "base/file_name_key.h"
#include "base/files.h"
#include "base/win32/scoped.h"

namespace vlm {
namespace {

// The local date and time of a write time in seconds since 1970 UTC.
TDateStamp LocalStamp(std::int64_t unixTime) {
  if (unixTime == 0) return 0;
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(unixTime) + 11'644'473'600u) * 10'000'000u;
  const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  FILETIME local{};
  SYSTEMTIME time{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return 0;
  return MakeDateStamp(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

class TWindowsFileSystemWalk : public TFileSystemWalk {
 public:
  void ListFiles(const std::wstring& pattern, bool includeHidden, bool needTimes,
                 const TFoundEntryProc& each) override {
    ForEachEntry(pattern, [&](const TFolderEntry& entry) {
      if (entry.folder || (entry.hidden && !includeHidden)) return true;
      return each(
          TFoundEntry{entry.name, entry.shortName, needTimes ? LocalStamp(entry.writeTime) : 0});
    });
  }

  void ListFolders(const std::wstring& folder, const TFoundEntryProc& each) override {
    ForEachEntry(JoinPath(folder, L"*.*"), [&](const TFolderEntry& entry) {
      if (!entry.folder) return true;
      return each(TFoundEntry{entry.name, entry.shortName, 0, entry.linked});
    });
  }

  bool FolderExists(const std::wstring& path) override { return vlm::FolderExists(path); }

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
