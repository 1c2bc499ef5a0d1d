#pragma once
// A fresh empty folder for one test under the system temporary folder, removed with everything in
// it afterwards. Named by process and count, so tests running side by side never share one.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/file_bytes.h"

namespace vlm::test {

class TScratchFolder {
 public:
  TScratchFolder() {
    static std::atomic<int> counter{0};
    FPath = std::filesystem::temp_directory_path() /
            ("velmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(FPath);  // a folder left by an earlier process of the same id
    std::filesystem::create_directories(FPath);
  }
  ~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  // The folder with a trailing separator, as Velmora's callers pass folders.
  std::wstring Folder() const { return FPath.wstring() + L"/"; }
  std::wstring File(const std::wstring& name) const { return (FPath / name).wstring(); }
  // Writes `bytes` to the file `name` in the folder and returns the file's path.
  std::wstring Write(const std::wstring& name, std::string_view bytes) const {
    WriteFile(FPath / name, bytes);
    return File(name);
  }
  // The names of the entries right in the folder, for checking what was written or left behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FPath))
      names.push_back(entry.path().filename().string());
    return names;
  }

 private:
  std::filesystem::path FPath;
};

}  // namespace vlm::test
