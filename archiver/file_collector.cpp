#include "archiver/file_collector.h"

#include <unordered_set>

#include "archiver/name_key_order.h"
#include "archiver/path_mask.h"
#include "base/path.h"

namespace vlm {
namespace {

// The ASCII and full-width Latin folding of paths the caller gives, for RelativePath.
std::wstring FoldFileName(const std::wstring& name) {
  std::wstring key(name);
  for (wchar_t& c : key) c = FoldFileNameChar(c);
  return key;
}

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsAbsolute(const std::wstring& path) {
  return (!path.empty() && IsSeparator(path[0])) || (path.size() > 2 && path[1] == L':');
}

// The drive ("C:") of a path that starts with one, else "".
std::wstring DriveOf(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
  return L"";
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t c : path) {
    if (IsSeparator(c)) {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// Makes the base folder the current one while the collector runs and puts everything back
// afterwards, also when the collection fails.
class TCurrentFolderScope {
 public:
  TCurrentFolderScope(TFileSystemWalk& fileSystem, const std::wstring& folder)
      : FFileSystem(fileSystem) {
    if (folder.empty()) return;
    FSaved = fileSystem.CurrentFolder();
    FDrive = DriveOf(folder);
    if (!FDrive.empty()) FDriveSaved = fileSystem.DriveCurrentFolder(FDrive);
    FActive = true;
    fileSystem.SetCurrentFolder(folder);
  }
  ~TCurrentFolderScope() {
    if (!FActive) return;
    try {
      if (!FDrive.empty()) FFileSystem.RestoreDriveCurrentFolder(FDrive, FDriveSaved);
      FFileSystem.SetCurrentFolder(FSaved);
    } catch (...) {
      // Nothing sensible to do: the collection's own result or error matters more.
    }
  }
  TCurrentFolderScope(const TCurrentFolderScope&) = delete;
  TCurrentFolderScope& operator=(const TCurrentFolderScope&) = delete;

 private:
  TFileSystemWalk& FFileSystem;
  std::wstring FSaved, FDrive, FDriveSaved;
  bool FActive = false;
};

// One scan of a name list into a sorted, case-insensitively unique list.
class TScan {
 public:
  struct Rules {
    const TArchiverOptions& options;
    std::wstring baseDir;
    TDateStamp from = 0, to = 0;
  };

  TScan(TFileSystemWalk& fileSystem, const Rules& rules, TCollectedFiles& out)
      : FFileSystem(fileSystem), FRules(rules), FOptions(rules.options), FOut(out) {}

  void SetExcluded(const std::unordered_set<std::wstring>* excluded) { FExcluded = excluded; }
  void SetProgress(const TCollectProgress* progress) { FProgress = progress; }
  void SetStreams(bool streams) { FStreams = streams; }
  // Without the key set a file found twice is listed twice; the caller then removes the
  // repeats after sorting. A single name walks each folder once, so it needs no set.
  void SetTrackRepeats(bool track) { FTrackRepeats = track; }

  void ScanNames(const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) {
      if (FOut.aborted) break;
      if (FOptions.r >= 2 && FFileSystem.FolderExists(name)) {
        ScanFolder(name, L"*.*");
      } else {
        const size_t split = name.find_last_of(L"/\\:");
        const size_t maskStart = split == std::wstring::npos ? 0 : split + 1;
        ScanFolder(name.substr(0, maskStart), name.substr(maskStart));
      }
    }
  }

  void ScanFolder(const std::wstring& folder, const std::wstring& mask) {
    const bool needTimes = FRules.from != 0 || FRules.to != 0;
    const TFoundEntryProc takeFile = [&](const TFoundEntry& entry) {
      if (needTimes && ((FRules.from != 0 && entry.writeTime < FRules.from) ||
                        (FRules.to != 0 && entry.writeTime > FRules.to))) {
        return true;
      }
      TakeFile(EntryPath(folder, entry));
      return !FOut.aborted;
    };
    if (FOptions.r < 1 || (FOptions.p > 0 && !HasWildcard(mask))) {
      FFileSystem.ListFiles(JoinPath(folder, mask), FOptions.a >= 1, needTimes, takeFile);
      return;
    }
    // Names first, then the walk, so no search stays open while the subfolders are searched.
    std::vector<std::wstring> subfolders;
    FFileSystem.ListFilesAndFolders(folder, mask, FOptions.a >= 1, needTimes, takeFile,
                                    [&](const TFoundEntry& entry) {
                                      // A linked folder may lead back up the tree (a junction
                                      // loop would never end); the folder size the drop
                                      // handling shows leaves it out too.
                                      if (!entry.linked)
                                        subfolders.push_back(EntryPath(folder, entry));
                                      return true;
                                    });
    for (const std::wstring& subfolder : subfolders) {
      if (FOut.aborted) break;
      ScanFolder(subfolder, mask);
    }
  }

  std::vector<std::wstring>& List() { return FList; }
  std::unordered_set<std::wstring>& Keys() { return FKeys; }

 private:
  std::wstring EntryPath(const std::wstring& folder, const TFoundEntry& entry) const {
    const bool useShort = FOptions.ji >= 1 && !entry.shortName.empty();
    std::wstring path = JoinPath(folder, useShort ? entry.shortName : entry.name);
    if (FOptions.jf == -2 && !FRules.baseDir.empty())
      path = RelativePath(FRules.baseDir, std::move(path));
    return path;
  }

  void TakeFile(std::wstring path) {
    std::wstring key = FExcluded || FTrackRepeats ? FFileSystem.NameKey(path) : std::wstring();
    if (FExcluded && FExcluded->count(key)) return;
    const size_t before = FList.size();
    const bool added = Add(path, std::move(key));
    // An added path has moved into the list (no copy per file); adding streams may move the
    // list, so it is found there by its index.
    const auto taken = [&]() -> const std::wstring& { return added ? FList[before] : path; };
    if (FStreams) AddStreams(taken());
    if (FList.size() > before && FProgress && (*FProgress)(taken())) FOut.aborted = true;
  }

  // Moves `path` into the list unless it is a repeat; answers whether it did.
  bool Add(std::wstring& path, std::wstring key) {
    if (FTrackRepeats && !FKeys.insert(std::move(key)).second) return false;
    FList.push_back(std::move(path));
    return true;
  }

  // `path` is a copy: the list it may come from grows here.
  void AddStreams(std::wstring path) {
    std::vector<TStreamCopy> made;
    try {
      FFileSystem.CopyStreams(path, FOptions.StreamSeparator, made);
    } catch (...) {
      for (const TStreamCopy& copy : made) FOut.temporaryFiles.push_back(copy.absolutePath);
      throw;
    }
    for (TStreamCopy& copy : made) {
      FOut.temporaryFiles.push_back(copy.absolutePath);
      Add(copy.listedPath, FFileSystem.NameKey(copy.listedPath));
    }
  }

  TFileSystemWalk& FFileSystem;
  const Rules& FRules;
  const TArchiverOptions& FOptions;
  TCollectedFiles& FOut;
  const std::unordered_set<std::wstring>* FExcluded = nullptr;
  const TCollectProgress* FProgress = nullptr;
  bool FStreams = false;
  bool FTrackRepeats = true;
  std::vector<std::wstring> FList;
  std::unordered_set<std::wstring> FKeys;
};

}  // namespace

std::wstring RelativePath(const std::wstring& base, std::wstring path) {
  if (!IsAbsolute(path) || !IsAbsolute(base)) return path;
  if (FoldFileName(DriveOf(base)) != FoldFileName(DriveOf(path))) return path;
  const std::vector<std::wstring> baseParts = SplitPath(base), pathParts = SplitPath(path);
  size_t common = 0;
  while (common < baseParts.size() && common + 1 < pathParts.size() &&
         FoldFileName(baseParts[common]) == FoldFileName(pathParts[common])) {
    ++common;
  }
  if (common == 0) return path;
  const wchar_t separator = path.find(L'\\') != std::wstring::npos ? L'\\' : L'/';
  std::wstring out;
  for (size_t i = common; i < baseParts.size(); ++i) out += std::wstring(L"..") + separator;
  for (size_t i = common; i < pathParts.size(); ++i) {
    out += pathParts[i];
    if (i + 1 < pathParts.size()) out += separator;
  }
  return out;
}

void CollectFiles(TFileSystemWalk& fileSystem, TArchiverOptions& options, const TFileItems& files,
                  const std::wstring& baseDir, const TCollectProgress& progress,
                  TCollectedFiles& out) {
  const std::vector<std::wstring> names = FileItemNames(files, TEmptyNames::Keep);
  TCurrentFolderScope currentFolder(fileSystem, baseDir);

  const TCenturyWindow century = fileSystem.CenturyWindow();
  TScan::Rules rules{options, baseDir, ParseDateOption(options.jo, L"000000", century),
                     ParseDateOption(options.job, L"235959", century)};

  TScan exclusions(fileSystem, rules, out);
  exclusions.SetStreams(options.IncludeExtraStreams);
  exclusions.ScanNames(options.jx);

  TScan inclusions(fileSystem, rules, out);
  if (!exclusions.Keys().empty()) inclusions.SetExcluded(&exclusions.Keys());
  inclusions.SetTrackRepeats(names.size() > 1);
  inclusions.SetProgress(progress ? &progress : nullptr);
  inclusions.SetStreams(options.IncludeExtraStreams);
  if (names.empty()) {
    inclusions.ScanFolder(L"", L"*.*");
  } else {
    inclusions.ScanNames(names);
  }

  SortUniqueByNameKey(fileSystem, inclusions.List(), out.files);

  options.r = kUnsetInt;
  options.jo = kUnsetString;
  options.job = kUnsetString;
  options.p = 1;
}

}  // namespace vlm
