#pragma once
// Scratch folders and file helpers for the decoder tests.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

#include <unistd.h>

#include "base/ansi_text.h"

namespace vlm::test {

// A fresh empty folder under the system temporary folder, removed with everything in it.
class TTestFolder {
 public:
  TTestFolder() {
    static std::atomic<int> counter{0};
    FPath = std::filesystem::temp_directory_path() /
            ("velmora-tnef-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(FPath);
    std::filesystem::create_directories(FPath);
  }
  ~TTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;
  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::wstring WideName(const std::filesystem::path& path) {
  const std::u8string name = path.filename().u8string();
  return FromUtf8(std::string(name.begin(), name.end()));
}

// Every entry of a folder, recursively, by wide relative name, with the content of files.
inline std::map<std::wstring, std::string> FolderContents(const std::filesystem::path& folder) {
  std::map<std::wstring, std::string> contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::u8string relative = entry.path().lexically_relative(folder).u8string();
    contents[FromUtf8(std::string(relative.begin(), relative.end()))] =
        entry.is_regular_file() ? ReadFile(entry.path()) : "<not a file>";
  }
  return contents;
}

}  // namespace vlm::test
