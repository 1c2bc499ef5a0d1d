// The file room on POSIX, for the native tests: stat and readdir, with hidden entries being
// those whose names begin with a dot. Names are UTF-8.
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "base/ansi_text.h"
#include "base/directory_posix.h"
#include "base/files.h"
#include "base/path.h"

namespace vlm {
namespace {

bool Stat(const std::wstring& path, struct stat& info) {
  return !path.empty() && stat(ToUtf8(path).c_str(), &info) == 0;
}

}  // namespace

std::filesystem::path FilePath(std::wstring_view path) {
  const std::string utf8 = ToUtf8(path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::wstring PathText(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

bool FileExists(const std::wstring& path) {
  struct stat info {};
  return Stat(path, info) && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::wstring& path) {
  struct stat info {};
  return Stat(path, info) && S_ISDIR(info.st_mode);
}

bool AnythingNamed(const std::wstring& path) {
  struct stat info {};
  return !path.empty() && lstat(ToUtf8(path).c_str(), &info) == 0;
}

bool IsLinkedFolder(const std::wstring& path) {
  struct stat link {};
  return FolderExists(path) && lstat(ToUtf8(path).c_str(), &link) == 0 && S_ISLNK(link.st_mode);
}

std::int64_t FileSize(const std::wstring& path) {
  struct stat info {};
  if (!Stat(path, info)) return -1;
  return S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
}

bool RemoveFile(const std::wstring& path) {
  if (!AnythingNamed(path)) return true;
  return !FolderExists(path) && std::remove(ToUtf8(path).c_str()) == 0;
}

std::wstring CopyFileOver(const std::wstring& from, const std::wstring& to) {
  std::error_code error;
  std::filesystem::copy_file(FilePath(from), FilePath(to),
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) return FromUtf8(error.message());
  std::filesystem::permissions(FilePath(to), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add, error);
  return {};
}

std::wstring MakeFolder(const std::wstring& path) {
  if (mkdir(ToUtf8(path).c_str(), 0777) == 0 || FolderExists(path)) return {};
  return FromUtf8(std::strerror(errno));
}

bool CreateNewFolder(const std::wstring& path) {
  return mkdir(ToUtf8(path).c_str(), 0777) == 0;
}

bool RemoveEmptyFolder(const std::wstring& path) {
  return rmdir(ToUtf8(path).c_str()) == 0;
}

std::wstring CurrentFolder() {
  std::string buffer(4096, '\0');
  if (!getcwd(buffer.data(), buffer.size())) return L".";
  return FromUtf8(buffer.c_str());
}

bool SetCurrentFolder(const std::wstring& path) {
  return chdir(ToUtf8(path).c_str()) == 0;
}

void ForEachEntry(const std::wstring& pattern, const TFolderEntryProc& each) {
  const std::wstring folder = FolderPart(pattern);
  const std::string narrowFolder = ToUtf8(folder);
  const std::string mask = ToUtf8(FileNamePart(pattern));
  TDirectory dir(narrowFolder);
  if (!dir.get()) return;
  while (dirent* found = readdir(dir.get())) {
    if (IsDotEntry(found->d_name) || fnmatch(mask.c_str(), found->d_name, 0) != 0) continue;
    TFolderEntry entry;
    entry.name = FromUtf8(found->d_name);
    const std::wstring path = JoinPath(folder, entry.name);
    struct stat info {};
    struct stat link {};
    if (!Stat(path, info) || lstat(ToUtf8(path).c_str(), &link) != 0) continue;
    entry.folder = S_ISDIR(info.st_mode);
    entry.linked = entry.folder && S_ISLNK(link.st_mode);
    entry.hidden = found->d_name[0] == '.';
    entry.size = entry.folder ? 0 : static_cast<std::int64_t>(info.st_size);
    entry.writeTime = static_cast<std::int64_t>(info.st_mtime);
    if (!each(entry)) return;
  }
}

}  // namespace vlm
