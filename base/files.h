#pragma once
// The file room: every file the plug-in probes, creates, replaces or walks goes through here, so
// each rule is said once. Windows names are Unicode, so paths are wide text; the Windows bodies
// live in base/win32/files.cpp, the POSIX ones (for the native tests) in files_posix.cpp.
//
// Two rules hold for every walk: a linked folder (junction, symbolic link) is reported but never
// entered, because it may lead back up the tree; a folder whose name begins with "." is an
// ordinary folder, entered and counted like any other.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "base/wide_message.h"

namespace vlm {

class TMappedFile;

// A wide path as this system's path: through UTF-8 on POSIX, which takes it whatever the C
// locale; as it is on Windows.
[[nodiscard]] std::filesystem::path FilePath(std::wstring_view path);
// The other way round: a path of this system as wide text.
[[nodiscard]] std::wstring PathText(const std::filesystem::path& path);

// A file that could not be created, opened, written or renamed; the message is the user's.
class EFileError : public EWideMessage {
 public:
  EFileError(std::wstring message, std::wstring fileName)
      : EWideMessage(std::move(message)), FFileName(std::move(fileName)) {}
  const std::wstring& FileName() const noexcept { return FFileName; }

 private:
  std::wstring FFileName;
};

// "ファイル "x" を作成できません。" and "ファイル "x" を開けません。" as raised by the room.
[[nodiscard]] EFileError CannotCreateFile(const std::wstring& fileName);
[[nodiscard]] EFileError CannotOpenFile(const std::wstring& fileName);

// What a path names right now.
[[nodiscard]] bool FileExists(const std::wstring& path);    // a file, not a folder
[[nodiscard]] bool FolderExists(const std::wstring& path);  // a folder, linked or not
[[nodiscard]] bool AnythingNamed(const std::wstring& path);
// A folder that is a link to another (junction, symbolic link).
[[nodiscard]] bool IsLinkedFolder(const std::wstring& path);
// Size of a file; 0 for a folder's own entry; -1 when nothing has that name.
[[nodiscard]] std::int64_t FileSize(const std::wstring& path);

// Removes one file, read-only or not: the files the plug-in removes are its own. False when it
// stays (held open by another program, no right to delete it, or a folder); true when nothing of
// that name is left.
[[nodiscard]] bool RemoveFile(const std::wstring& path);

// Copies the file `from` to `to`, replacing a file there; the copy is never read-only, so that it
// can be replaced or removed later. Empty when done, otherwise the system's words for why not.
[[nodiscard]] std::wstring CopyFileOver(const std::wstring& from, const std::wstring& to);
// Makes the folder (its parent must exist); empty when it is there now, otherwise why not.
[[nodiscard]] std::wstring MakeFolder(const std::wstring& path);
// Makes the folder by one exclusive create: true only when this call made it, so that a folder of
// that name someone else made is never taken for one's own.
[[nodiscard]] bool CreateNewFolder(const std::wstring& path);
// Removes an empty folder, read-only or not; false when it stays.
bool RemoveEmptyFolder(const std::wstring& path);

// The process's current folder, and a change of it; false when the folder cannot be entered.
[[nodiscard]] std::wstring CurrentFolder();
bool SetCurrentFolder(const std::wstring& path);

// One entry of a folder.
struct TFolderEntry {
  std::wstring name;       // long name
  std::wstring shortName;  // 8.3 name; empty when the file system keeps none
  bool folder = false;
  bool linked = false;  // a folder that is a link to another: never entered
  bool hidden = false;  // hidden or system
  std::int64_t size = 0;
  std::int64_t writeTime = 0;  // last write, seconds since 1970 UTC; 0 when unknown
};

// Answers false to stop a walk.
using TFolderEntryProc = std::function<bool(const TFolderEntry&)>;

// The entries matching `pattern` (a folder part followed by a name or a mask with "*" and "?",
// as the system matches them), "." and ".." left out. Nothing when the folder cannot be read.
void ForEachEntry(const std::wstring& pattern, const TFolderEntryProc& each);

// Bytes of every file below `folder`, hidden and system files and "."-folders included, linked
// folders not entered; 0 when it cannot be read. `onEntry` runs for every entry met, so that a
// long walk can let the user interface breathe.
[[nodiscard]] std::int64_t FolderSize(const std::wstring& folder,
                                      const std::function<void()>& onEntry = {});

// A file made by one exclusive create: it fails when the name is taken, so no probe for a free
// name comes before it and nothing that exists is ever opened by mistake. Writes go straight from
// the caller's buffer to the system.
class TNewFile {
 public:
  enum class TResult { Created, NameTaken, Failed };

  TNewFile() = default;
  ~TNewFile();
  TNewFile(const TNewFile&) = delete;
  TNewFile& operator=(const TNewFile&) = delete;

  // Creates the file for writing; NameTaken when something of that name exists (a folder too).
  TResult Create(const std::wstring& path);
  // False when the system took less than all of it.
  bool Write(const char* data, size_t size);
  // False when the system reports an error on closing.
  bool Close();
  bool IsOpen() const { return FHandle >= 0; }
  // The C runtime's descriptor, for copies the system makes into the file.
  int Handle() const { return FHandle; }

 private:
  int FHandle = -1;
};

// A file created under the first free name "<prefix><number><suffix>" in `folder`, counting on
// from `number`, and moved to the name the caller uses only once it is complete, so no
// half-written file is ever seen under that name. Removed unless it was moved.
class TTemporaryFile {
 public:
  // Throws EFileError when no name can be created. Errors name `shownName` when one is given
  // (the file this one becomes), else the temporary file itself.
  TTemporaryFile(const std::wstring& folder, std::wstring_view prefix, std::wstring_view suffix,
                 unsigned& number, std::wstring shownName = {});
  ~TTemporaryFile();
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  const std::wstring& Path() const { return FPath; }
  bool IsOpen() const { return FFile.IsOpen(); }
  // Throws EFileError when the system took less than all of it.
  void Write(const char* data, size_t size);
  // Appends the whole content of `source`; its length. Throws EFileError on failure.
  std::uint64_t WriteFile(const std::wstring& source);
  // Closes the file; throws EFileError when a write failed.
  void Close();
  // Closes the file and moves it to `target`, replacing a file of that name; throws EFileError on
  // failure, `target` then untouched.
  void MoveTo(const std::wstring& target);

 private:
  [[nodiscard]] EFileError CannotWrite() const;

  std::wstring FShownName;
  std::wstring FPath;
  TNewFile FFile;
  bool FMoved = false;
};

// Writes a file under a temporary name beside its final place and renames it there only when
// everything was written, so a failure never leaves a half-written file nor destroys the file it
// was meant to replace.
class TReplacingFile {
 public:
  // Creates the temporary file. Throws EFileError when it cannot be created.
  explicit TReplacingFile(std::wstring fileName);
  void Append(std::string_view bytes) { FFile.Write(bytes.data(), bytes.size()); }
  std::uint64_t AppendFile(const std::wstring& source) { return FFile.WriteFile(source); }
  // Moves the file into place, replacing any file there. Throws EFileError on failure; the final
  // name is then untouched.
  void Commit() { FFile.MoveTo(FFileName); }

 private:
  std::wstring FFileName;
  unsigned FNumber = 0;
  TTemporaryFile FFile;
};

// Writes `size` bytes as the whole file `path`, replacing a file of that name: one exclusive
// create when the name is free, as it is in a work folder emptied after each use. A failed write
// removes what it wrote. False on failure.
bool WriteWholeNewFile(const std::wstring& path, const char* data, size_t size);
// The same with `size` bytes of a mapped file from `offset` (see TMappedFile::WriteRange).
bool WriteWholeNewFile(const std::wstring& path, const TMappedFile& source, std::uint64_t offset,
                       size_t size);

// The names given out in one place, compared as the file system compares them (FileNameKey):
// "Ä.pdf" and "ä.pdf" are one name.
class TNameClaim {
 public:
  // True when `name` was free; it is taken now.
  bool Take(std::wstring_view name);
  // `name` when free, else the first free "name (2).ext", "name (3).ext", …; taken now.
  std::wstring Claim(const std::wstring& name);

 private:
  std::set<std::wstring> FKeys;
};

}  // namespace vlm
