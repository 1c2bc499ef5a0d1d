#include "base/code_page_copy.h"

#include <vector>

#include "base/code_page_name.h"
#include "base/files.h"
#include "base/path.h"

namespace vlm {
namespace {

// The entries of `folder` but "." and "..".
std::vector<TFolderEntry> Entries(const std::wstring& folder) {
  std::vector<TFolderEntry> entries;
  ForEachEntry(JoinPath(folder, L"*"), [&](const TFolderEntry& entry) {
    entries.push_back(entry);
    return true;
  });
  return entries;
}

class TreeCopy {
 public:
  // Empty when `source` was copied to `target`; otherwise why not.
  std::wstring Run(const std::wstring& source, const std::wstring& target) {
    if (!AnythingNamed(source)) return Failure(source, L"ファイルが見つかりません。");
    // An older copy of that name is replaced; a folder in the way is not ours to remove.
    if (FolderExists(target)) return Failure(target, L"同じ名前のフォルダがあります。");
    if (!RemoveFile(target)) return Failure(target, L"前のファイルを削除できません。");
    MakeParent(target);
    const bool done =
        FolderExists(source) ? CopyFolder(source, target) : CopyOneFile(source, target);
    if (!done) RemoveTree(target);
    return problem_;
  }

 private:
  bool CopyOneFile(const std::wstring& from, const std::wstring& to) {
    return Succeeded(from, CopyFileOver(from, to));
  }

  bool CopyFolder(const std::wstring& from, const std::wstring& to) {
    if (!Succeeded(from, MakeFolder(to))) return false;
    const std::vector<TFolderEntry> entries = Entries(from);
    // Names that fit keep themselves; the others take their nearest names after them.
    TNameClaim taken;
    std::vector<std::wstring> names(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      if (FitsCodePage(entries[i].name) && taken.Take(entries[i].name)) names[i] = entries[i].name;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
      if (names[i].empty()) names[i] = taken.Claim(NearestCodePageName(entries[i].name));
    }
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].linked) continue;
      const std::wstring child = JoinPath(from, entries[i].name);
      const std::wstring copy = JoinPath(to, names[i]);
      if (!(entries[i].folder ? CopyFolder(child, copy) : CopyOneFile(child, copy))) return false;
    }
    return true;
  }

  static void MakeParent(const std::wstring& path) {
    const std::wstring parent = FolderPart(path);
    if (parent.empty() || parent == path || FolderExists(parent)) return;
    MakeParent(parent);
    (void)MakeFolder(parent);
  }

  bool Succeeded(const std::wstring& path, const std::wstring& problem) {
    if (problem.empty()) return true;
    problem_ = Failure(path, problem);
    return false;
  }
  static std::wstring Failure(const std::wstring& path, const std::wstring& why) {
    return L"「" + path + L"」: " + why;
  }

  std::wstring problem_;
};

}  // namespace

bool NamesBelowFitCodePage(const std::wstring& folder) {
  for (const TFolderEntry& entry : Entries(folder)) {
    if (!FitsCodePage(entry.name)) return false;
    if (entry.folder && !entry.linked && !NamesBelowFitCodePage(JoinPath(folder, entry.name)))
      return false;
  }
  return true;
}

std::wstring CopyUnderCodePageNames(const std::wstring& source, const std::wstring& target) {
  return TreeCopy().Run(source, target);
}

void RemoveTree(const std::wstring& path) {
  if (!FolderExists(path)) {
    (void)RemoveFile(path);
    return;
  }
  // A linked folder goes as a link: what it points at is not ours.
  if (!IsLinkedFolder(path)) {
    for (const TFolderEntry& entry : Entries(path)) RemoveTree(JoinPath(path, entry.name));
  }
  RemoveEmptyFolder(path);
}

}  // namespace vlm
