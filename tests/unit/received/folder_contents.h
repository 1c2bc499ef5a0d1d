#pragma once
// What a decoder wrote, as one value to compare: every entry below a folder with its content.
#include <filesystem>
#include <map>
#include <string>

#include "base/ansi_text.h"
#include "tests/support/file_bytes.h"

namespace vlm::test {

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
