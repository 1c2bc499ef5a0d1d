#include "archiver/file_system_walk.h"

#include "base/path.h"

namespace vlm {

void TFileSystemWalk::ListFilesAndFolders(const std::wstring& folder, const std::wstring& mask,
                                          bool includeHidden, bool needTimes,
                                          const TFoundEntryProc& eachFile,
                                          const TFoundEntryProc& eachFolder) {
  bool going = true;
  ListFiles(JoinPath(folder, mask), includeHidden, needTimes,
            [&](const TFoundEntry& entry) { return going = eachFile(entry); });
  if (going) ListFolders(folder, eachFolder);
}

}  // namespace vlm
