#pragma once
// Dropped items whose names the code page cannot hold: the host and the archiver libraries take
// code-page paths, so such an item reaches them as a copy under the nearest names the code page
// holds, attached from a work folder or packed from a staging folder inside one.
#include <string>

#include "compose/drop_message.h"

namespace vlm {

// Copies `path` to `target` under code-page names. False when that fails: the message is then
// consumed and a box names the item and says why.
bool CopyUnderCodePageNames(const std::wstring& path, const std::wstring& target,
                            TDropMessage& message);

// The item is packed from a copy: its path, or a name anywhere inside a folder, does not fit.
bool NeedsStaging(const std::wstring& path, bool isFolder);

// The folder inside an item's work folder where the item is copied before it is packed; removed
// once the archive is made.
class TStagingFolder {
 public:
  explicit TStagingFolder(const std::wstring& workFolder);
  ~TStagingFolder();
  TStagingFolder(const TStagingFolder&) = delete;
  TStagingFolder& operator=(const TStagingFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace vlm
