// The native side of the collector's file-system seam: readdir and stat, with hidden files
// being those whose names start with a dot. There are no named streams and no drives here.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "archiver/archiver_errors.h"
#include "archiver/file_system_walk.h"
#include "archiver/path_mask.h"
#include "base/ansi_text.h"
#include "base/directory_posix.h"
#include "base/file_name_key.h"

namespace vlm {
namespace {

// File names here are UTF-8. Decoded by hand: a code page conversion per name would cost more
// than the whole directory search. Invalid bytes become U+FFFD. Appends to `out`, so a caller
// can keep one buffer for every name of a folder.
void AppendUtf8(const char* text, std::wstring& out) {
  for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p;) {
    char32_t c = *p++;
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c >= 0x80 && more == 0) c = 0xFFFD;
    c &= more == 3 ? 0x07 : more == 2 ? 0x0F : more == 1 ? 0x1F : 0xFF;
    for (; more > 0; --more, ++p) {
      if ((*p & 0xC0) != 0x80) {
        c = 0xFFFD;
        break;
      }
      c = (c << 6) | (*p & 0x3F);
    }
    out += static_cast<wchar_t>(c);
  }
}

std::wstring FromUtf8(const char* text) {
  std::wstring out;
  AppendUtf8(text, out);
  return out;
}

TDateStamp LocalStamp(time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return MakeDateStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                       local.tm_min, local.tm_sec);
}

// LocalStamp remembering its last answer: files copied or unpacked together share one write
// time, and the time zone conversion costs more than the rest of a file's listing.
class TLocalStamps {
 public:
  TDateStamp Of(time_t time) {
    if (!FKnown || time != FTime) FStamp = LocalStamp(time), FTime = time, FKnown = true;
    return FStamp;
  }

 private:
  bool FKnown = false;
  time_t FTime = 0;
  TDateStamp FStamp = 0;
};

class TPosixFileSystemWalk : public TFileSystemWalk {
 public:
  TPosixFileSystemWalk() = default;
  TPosixFileSystemWalk(const TPosixFileSystemWalk&) = delete;
  TPosixFileSystemWalk& operator=(const TPosixFileSystemWalk&) = delete;

  void ListFiles(const std::wstring& pattern, bool includeHidden, bool needTimes,
                 const TFoundEntryProc& each) override {
    const size_t split = pattern.find_last_of(L"/\\");
    const size_t maskStart = split == std::wstring::npos ? 0 : split + 1;
    ReadFolder(pattern.substr(0, maskStart), pattern.substr(maskStart), includeHidden, needTimes,
               &each, nullptr);
  }

  void ListFolders(const std::wstring& folder, const TFoundEntryProc& each) override {
    ReadFolder(folder, L"", false, false, nullptr, &each);
  }

  void ListFilesAndFolders(const std::wstring& folder, const std::wstring& mask, bool includeHidden,
                           bool needTimes, const TFoundEntryProc& eachFile,
                           const TFoundEntryProc& eachFolder) override {
    ReadFolder(folder, mask, includeHidden, needTimes, &eachFile, &eachFolder);
  }

  bool FolderExists(const std::wstring& path) override {
    struct stat info {};
    return !path.empty() && stat(ToUtf8(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::wstring CurrentFolder() override {
    std::string buffer(4096, '\0');
    if (!getcwd(buffer.data(), buffer.size())) return L".";
    return FromUtf8(buffer.c_str());
  }

  void SetCurrentFolder(const std::wstring& folder) override {
    if (chdir(ToUtf8(folder).c_str()) != 0) {
      throw EArchiver(L"フォルダ \"" + folder + L"\" に移動できません。");
    }
  }

  std::wstring DriveCurrentFolder(const std::wstring&) override { return L""; }
  void RestoreDriveCurrentFolder(const std::wstring&, const std::wstring&) override {}

  void CopyStreams(const std::wstring&, const std::wstring&, std::vector<TStreamCopy>&) override {}

  // Names are folded as NTFS folds them, so the native build sees the duplicates Windows sees.
  std::wstring NameKey(std::wstring_view name) override { return FileNameKey(name); }

  TCenturyWindow CenturyWindow() override {
    const time_t now = time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, 50};
  }

 private:
  // One pass over a folder, for its files (when `eachFile`) and its subfolders (when
  // `eachFolder`). The kernel is asked about an entry only where readdir's type does not settle
  // it (links, file systems that give no type) or for the write time.
  static void ReadFolder(const std::wstring& folder, const std::wstring& mask, bool includeHidden,
                         bool needTimes, const TFoundEntryProc* eachFile,
                         const TFoundEntryProc* eachFolder) {
    TDirectory dir(ToUtf8(folder));
    if (!dir.get()) return;
    const int fd = dirfd(dir.get());
    // One entry for the whole folder: its name's buffer is reused instead of allocated per file.
    TFoundEntry found{};
    TLocalStamps stamps;
    while (dirent* entry = readdir(dir.get())) {
      if (IsDotEntry(entry->d_name)) continue;
      // Asked relative to the open folder: no path to build, and the kernel looks up one name
      // instead of walking the whole path again.
      struct stat info {};
      bool stated = false;
      unsigned char type = entry->d_type;
      if (type == DT_UNKNOWN || type == DT_LNK) {
        if (fstatat(fd, entry->d_name, &info, 0) != 0) continue;
        stated = true;
        type = S_ISREG(info.st_mode) ? DT_REG : S_ISDIR(info.st_mode) ? DT_DIR : DT_UNKNOWN;
      }
      if (type == DT_REG && eachFile) {
        if (!includeHidden && entry->d_name[0] == '.') continue;
        found.name.clear();
        AppendUtf8(entry->d_name, found.name);
        if (!MatchesMask(found.name, mask)) continue;
        if (needTimes && !stated && fstatat(fd, entry->d_name, &info, 0) != 0) continue;
        found.writeTime = needTimes ? stamps.Of(info.st_mtime) : 0;
        if (!(*eachFile)(found)) return;
      } else if (type == DT_DIR && eachFolder) {
        struct stat linkInfo {};
        const bool linked = entry->d_type != DT_DIR &&
                            fstatat(fd, entry->d_name, &linkInfo, AT_SYMLINK_NOFOLLOW) == 0 &&
                            S_ISLNK(linkInfo.st_mode);
        if (!(*eachFolder)(TFoundEntry{FromUtf8(entry->d_name), L"", 0, linked})) return;
      }
    }
  }
};

}  // namespace

std::unique_ptr<TFileSystemWalk> CreatePosixFileSystemWalk() {
  return std::make_unique<TPosixFileSystemWalk>();
}

}  // namespace vlm
