#pragma once
// The component's own expansion of the files to pack: names, folders and masks turned into an
// explicit, sorted list of files under the options' rules (hidden files, recursion, date range,
// exclusions, short names, relative paths), with named streams copied out into files of their
// own. The DLL then gets the list and nothing left to expand.
#include <functional>
#include <string>
#include <vector>

#include "archiver/archiver_options.h"
#include "archiver/file_items.h"
#include "archiver/file_system_walk.h"

namespace vlm {

// Called with each file added to the list; answers true to abort the collection.
using TCollectProgress = std::function<bool(const std::wstring& path)>;

struct TCollectedFiles {
  std::vector<std::wstring> files;  // sorted, unique as the file system compares names
  // Stream copies made (absolute paths): the caller deletes them after packing, also when the
  // collection fails or is aborted.
  std::vector<std::wstring> temporaryFiles;
  bool aborted = false;
};

// Expands `files` relative to `baseDir` (made the current folder meanwhile when not empty).
// `options` is the caller's working copy: afterwards it says what the DLL must do with an
// explicit list (r unset, jo and job unset, p 1). Throws EArchiver for a malformed date option
// and the platform's errors while copying streams.
void CollectFiles(TFileSystemWalk& fileSystem, TArchiverOptions& options, const TFileItems& files,
                  const std::wstring& baseDir, const TCollectProgress& progress,
                  TCollectedFiles& out);

// `path` relative to the folder `base` when `path` is absolute and on the same drive or root;
// otherwise unchanged (and handed back without a copy).
std::wstring RelativePath(const std::wstring& base, std::wstring path);

}  // namespace vlm
