#pragma once
// The order of the collector's list: paths sorted by their file-name keys, so names the file
// system takes for one file sit side by side and only the first of them is kept.
#include <string>
#include <vector>

#include "archiver/file_system_walk.h"

namespace vlm {

// Moves `paths` into `sorted` in the order of their name keys (equal keys by the paths
// themselves), keeping the first path of each key only. `paths` is left empty.
void SortUniqueByNameKey(TFileSystemWalk& fileSystem, std::vector<std::wstring>& paths,
                         std::vector<std::wstring>& sorted);

}  // namespace vlm
