#pragma once
// The files the rewrites work through: paths the host names in its code page, whole-file writes,
// removal, and the work files the host names. Every failure raises EReceivedMail.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_api.h"

namespace vlm {

// A file path the host gave in its code page as a path of this system (a wide one goes through
// FilePath of base/files.h).
[[nodiscard]] std::filesystem::path HostPath(std::string_view ansi);

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
// Removes a work file; raises EReceivedMail when it stays.
void RemoveWorkFile(const std::filesystem::path& path);

// The files one rewrite wrote (work files, extracted attachments), removed when it ends, whether
// it succeeded or failed, so that no copy of a message's attachments stays behind. A file that
// cannot be removed (another program holds it open) stays: removal is housekeeping, never a
// reason to fail.
class TWorkFiles {
 public:
  TWorkFiles() = default;
  ~TWorkFiles();
  TWorkFiles(const TWorkFiles&) = delete;
  TWorkFiles& operator=(const TWorkFiles&) = delete;

  void Add(std::filesystem::path path) { FPaths.push_back(std::move(path)); }

 private:
  std::vector<std::filesystem::path> FPaths;
};

// A new work file named by the host's GetTempFileName for the type text `type` ("bin", "dat").
[[nodiscard]] std::string HostTempFile(const TBeckyAPI& host, const char* type);
// The same, registered with `files` for removal.
[[nodiscard]] std::string HostTempFile(const TBeckyAPI& host, const char* type, TWorkFiles& files);

}  // namespace vlm
