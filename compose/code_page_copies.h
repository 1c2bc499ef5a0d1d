#pragma once
// Dropped items whose names the code page cannot hold: the host and the archiver libraries take
// code-page paths, so such an item reaches them as a copy under the nearest names the code page
// holds, attached from the host's temporary folder or packed from a staging folder below it.
#include <string>

#include "compose/drop_message.h"

namespace vlm {

// Copies `path` to `target` under code-page names. False when that fails: the message is then
// consumed and a box names the item and says why.
bool CopyUnderCodePageNames(const std::wstring& path, const std::wstring& target,
                            DropMessage& message);

// The item is packed from a copy: its path, or a name anywhere inside a folder, does not fit.
bool NeedsStaging(const std::wstring& path, bool isFolder, DropServices& services);

// The folder below the host's temporary folder where items are copied before they are packed.
// One drop is handled at a time, so one folder serves; it is emptied before and removed after
// each use.
class StagingFolder {
 public:
  StagingFolder(DropServices& services, const std::wstring& tempFolder);
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  DropServices& services_;
  std::wstring path_;
};

}  // namespace vlm
