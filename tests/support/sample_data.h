#pragma once
// The public sample files (real winmail.dat and mail, with other decoders' expected outputs) live
// outside the repository: ../shared/testdata beside a checkout, or where VELMORA_TESTDATA points.
// Suites that use them are built only when that folder exists; a sample missing even so fails the
// test naming its full path, never as an empty list.
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace vlm::test {

inline std::filesystem::path SampleFolder() {
  const char* fromEnvironment = std::getenv("VELMORA_TESTDATA");
  const std::filesystem::path folder =
      fromEnvironment != nullptr ? fromEnvironment : VELMORA_TESTDATA;
  if (!std::filesystem::is_directory(folder))
    throw std::runtime_error("sample folder missing: " + folder.string());
  return folder;
}

// A file or folder inside the sample folder, which must exist.
inline std::filesystem::path SamplePath(const std::filesystem::path& relative) {
  const std::filesystem::path path = SampleFolder() / relative;
  if (!std::filesystem::exists(path)) throw std::runtime_error("sample missing: " + path.string());
  return path;
}

}  // namespace vlm::test
