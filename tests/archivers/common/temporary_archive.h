#pragma once
// A new archive is written beside the old one and replaces it only when complete, so a failed
// or cancelled command leaves the old archive (or none) and no half-written file.
#include <filesystem>
#include <system_error>

namespace standin {

class TemporaryArchive {
 public:
  explicit TemporaryArchive(const std::filesystem::path& archive) : archive_(archive) {
    path_ = archive;
    path_ += ".tmp";
  }
  ~TemporaryArchive() {
    std::error_code ec;
    if (!committed_) std::filesystem::remove(path_, ec);
  }
  TemporaryArchive(const TemporaryArchive&) = delete;
  TemporaryArchive& operator=(const TemporaryArchive&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Moves the finished file over the archive; false when that fails.
  bool Commit() {
    std::error_code ec;
    std::filesystem::rename(path_, archive_, ec);
    committed_ = !ec;
    return committed_;
  }

 private:
  std::filesystem::path archive_;
  std::filesystem::path path_;
  bool committed_ = false;
};

}  // namespace standin
