#pragma once
// What the file collector needs from the file system: directory searches with the platform's
// wildcard rules, the current folder, and the named streams of a file. Windows answers through
// FindFirstFile and the backup-stream walk; the native build through readdir, for tests and the
// benchmark.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archiver/date_option.h"

namespace vlm {

struct TFoundEntry {
  std::wstring name;       // long name
  std::wstring shortName;  // 8.3 name; empty when the file system keeps none
  TDateStamp writeTime;    // last write, local time
  bool linked = false;     // a folder that is a link (junction, symbolic link) to another
};

// A stream of a file, copied out into a file of its own for packing.
struct TStreamCopy {
  std::wstring listedPath;    // the copy's path as it goes into the pack list
  std::wstring absolutePath;  // the same file made absolute, for deleting it afterwards
};

// Called for each entry found; answers false to stop the search.
using TFoundEntryProc = std::function<bool(const TFoundEntry&)>;

class TFileSystemWalk {
 public:
  virtual ~TFileSystemWalk() = default;

  // The files (not folders) matching `pattern` (a folder part followed by a mask with "*" and
  // "?"), "." and ".." left out. Hidden and system files only when `includeHidden`. Entries
  // carry their write time only when `needTimes` (some file systems pay for it).
  virtual void ListFiles(const std::wstring& pattern, bool includeHidden, bool needTimes,
                         const TFoundEntryProc& each) = 0;
  // Every subfolder of `folder` ("" = the current folder), hidden and system ones included,
  // "." and ".." left out; linked folders are marked as such.
  virtual void ListFolders(const std::wstring& folder, const TFoundEntryProc& each) = 0;
  // Both listings of `folder` ("" = the current folder): the files matching `mask`, as ListFiles
  // gives them, to `eachFile`, and the subfolders, as ListFolders gives them, to `eachFolder`, in
  // any order; stops at the first false. File systems that read a folder in one pass answer both
  // from that pass; this one lists the files, then the folders.
  virtual void ListFilesAndFolders(const std::wstring& folder, const std::wstring& mask,
                                   bool includeHidden, bool needTimes,
                                   const TFoundEntryProc& eachFile,
                                   const TFoundEntryProc& eachFolder);
  virtual bool FolderExists(const std::wstring& path) = 0;

  virtual std::wstring CurrentFolder() = 0;
  // Makes `folder` the current folder. Throws EArchiver when it cannot.
  virtual void SetCurrentFolder(const std::wstring& folder) = 0;
  // On Windows each drive keeps a current folder of its own, which changing to a folder on that
  // drive changes too; these save and restore it. Elsewhere they do nothing.
  virtual std::wstring DriveCurrentFolder(const std::wstring& drive) = 0;
  virtual void RestoreDriveCurrentFolder(const std::wstring& drive, const std::wstring& folder) = 0;

  // Copies every named stream of the file `path` into a file of its own, beside it, named by
  // the file name followed by the stream name with ":" mapped to separator[0] and a 0x05 right
  // after a ":" to separator[1]. Nothing on volumes without named streams. Throws on read or
  // write errors; the copies made so far are then already in `made`.
  virtual void CopyStreams(const std::wstring& path, const std::wstring& separator,
                           std::vector<TStreamCopy>& made) = 0;

  // The name in the one case the file system compares names in: names it takes for one file
  // ("ä.txt" and "Ä.txt" on NTFS, beyond ASCII) get equal keys, and only those.
  virtual std::wstring NameKey(std::wstring_view name) = 0;

  // How two-digit years of the date options are read.
  virtual TCenturyWindow CenturyWindow() = 0;
};

// The native file system (POSIX); not on Windows.
std::unique_ptr<TFileSystemWalk> CreatePosixFileSystemWalk();

}  // namespace vlm
