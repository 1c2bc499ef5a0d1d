#pragma once
// The collector's file system on Windows: FindFirstFile searches (with 8.3 names), the process's
// current folder and per-drive current folders, and the backup-stream walk for named streams.
#include <memory>

#include "archiver/file_system_walk.h"

namespace vlm {

std::unique_ptr<TFileSystemWalk> CreateWindowsFileSystemWalk();

}  // namespace vlm
