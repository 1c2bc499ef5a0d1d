#include "base/win32/code_page_copy.h"

#include <windows.h>

#include <set>
#include <vector>

#include "base/code_page_name.h"
#include "base/file_name_key.h"
#include "base/win32/scoped.h"

namespace vlm {
namespace {

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A junction or a folder symbolic link: it may lead back up the tree, so it is never entered.
bool IsLinkedFolder(DWORD attributes) {
  return IsFolder(attributes) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The entries of `folder` but "." and "..".
std::vector<WIN32_FIND_DATAW> Entries(const std::wstring& folder) {
  std::vector<WIN32_FIND_DATAW> entries;
  WIN32_FIND_DATAW data{};
  win::ScopedFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return entries;
  do {
    if (!IsDotEntry(data.cFileName)) entries.push_back(data);
  } while (FindNextFileW(find.get(), &data));
  return entries;
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

// The names given out in one folder of the copy, compared as the file system compares them.
class TakenNames {
 public:
  bool Take(const std::wstring& name) { return keys_.insert(FileNameKey(name)).second; }

 private:
  std::set<std::wstring> keys_;
};

class TreeCopy {
 public:
  // Empty when `source` was copied to `target`; otherwise why not.
  std::wstring Run(const std::wstring& source, const std::wstring& target) {
    const DWORD attributes = GetFileAttributesW(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Failure(source, GetLastError());
    // An older copy of that name is replaced; a folder in the way is not ours to remove.
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (IsFolder(existing)) return Failure(target, ERROR_ALREADY_EXISTS);
    if (existing != INVALID_FILE_ATTRIBUTES) RemoveTree(target);
    MakeParent(target);
    const bool done =
        IsFolder(attributes) ? CopyFolder(source, target) : CopyOneFile(source, target);
    if (!done) RemoveTree(target);
    return problem_;
  }

 private:
  bool CopyOneFile(const std::wstring& from, const std::wstring& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) return Fail(from, GetLastError());
    // A read-only copy could not be replaced or removed afterwards.
    const DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return true;
  }

  bool CopyFolder(const std::wstring& from, const std::wstring& to) {
    if (!CreateDirectoryW(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      return Fail(from, GetLastError());
    const std::vector<WIN32_FIND_DATAW> entries = Entries(from);
    // Names that fit keep themselves; the others take their nearest names after them.
    TakenNames taken;
    std::vector<std::wstring> names(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      if (FitsCodePage(entries[i].cFileName) && taken.Take(entries[i].cFileName))
        names[i] = entries[i].cFileName;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
      if (!names[i].empty()) continue;
      const std::wstring nearest = NearestCodePageName(entries[i].cFileName);
      names[i] = nearest;
      for (int number = 2; !taken.Take(names[i]); ++number)
        names[i] = NumberedName(nearest, number);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
      const DWORD attributes = entries[i].dwFileAttributes;
      if (IsLinkedFolder(attributes)) continue;
      const std::wstring child = from + L"\\" + entries[i].cFileName;
      const std::wstring copy = to + L"\\" + names[i];
      if (!(IsFolder(attributes) ? CopyFolder(child, copy) : CopyOneFile(child, copy)))
        return false;
    }
    return true;
  }

  static void MakeParent(const std::wstring& path) {
    const size_t at = path.find_last_of(L'\\');
    if (at == std::wstring::npos || at < 3) return;
    const std::wstring parent = path.substr(0, at);
    if (IsFolder(GetFileAttributesW(parent.c_str()))) return;
    MakeParent(parent);
    CreateDirectoryW(parent.c_str(), nullptr);
  }

  bool Fail(const std::wstring& path, DWORD error) {
    problem_ = Failure(path, error);
    return false;
  }
  static std::wstring Failure(const std::wstring& path, DWORD error) {
    return L"「" + path + L"」: " + SystemMessage(error);
  }

  std::wstring problem_;
};

bool NamesFit(const std::wstring& folder) {
  for (const WIN32_FIND_DATAW& entry : Entries(folder)) {
    if (!FitsCodePage(entry.cFileName)) return false;
    if (IsFolder(entry.dwFileAttributes) && !IsLinkedFolder(entry.dwFileAttributes) &&
        !NamesFit(folder + L"\\" + entry.cFileName))
      return false;
  }
  return true;
}

}  // namespace

bool NamesBelowFitCodePage(const std::wstring& folder) {
  return NamesFit(folder);
}

std::wstring CopyUnderCodePageNames(const std::wstring& source, const std::wstring& target) {
  return TreeCopy().Run(source, target);
}

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!IsFolder(attributes)) {
    DeleteFileW(path.c_str());
    return;
  }
  // A linked folder goes as a link: what it points at is not ours.
  if (!IsLinkedFolder(attributes)) {
    for (const WIN32_FIND_DATAW& entry : Entries(path)) RemoveTree(path + L"\\" + entry.cFileName);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace vlm
