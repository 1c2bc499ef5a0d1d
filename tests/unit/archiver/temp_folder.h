#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace vlm::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    FPath = std::filesystem::temp_directory_path() /
            ("velmora-archiver-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(FPath);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing separator, as the layer's callers pass folders.
  std::wstring Folder() const { return FPath.wstring() + L"/"; }
  std::wstring File(const std::wstring& name) const { return (FPath / name).wstring(); }

  std::wstring Write(const std::wstring& name, const std::string& bytes) const {
    std::ofstream(FPath / name, std::ios::binary) << bytes;
    return File(name);
  }
  static std::string Read(const std::wstring& file) {
    std::ifstream in{std::filesystem::path(file), std::ios::binary};
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Names of everything in the folder, for checking that nothing half-written is left.
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(FPath),
                                                  std::filesystem::directory_iterator()));
  }

 private:
  std::filesystem::path FPath;
};

}  // namespace vlm::testing
