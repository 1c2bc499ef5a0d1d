#pragma once
// A scratch folder for archive tests, and the Linux archivers that judge what was written.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/file_bytes.h"
#include "tests/support/scratch_folder.h"

namespace standin_test {

class ArchiveFixture : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) const { return (Root() / relative).string(); }

  void WriteFile(const std::string& relative, const std::string& content) const {
    std::filesystem::path path = Root() / relative;
    std::filesystem::create_directories(path.parent_path());
    vlm::test::WriteFile(path, content);
  }

  std::string ReadFile(const std::string& relative) const {
    return vlm::test::ReadFile(Root() / relative);
  }

  // Runs a shell command in the scratch folder; returns its exit status and standard output.
  int Shell(const std::string& command, std::string* output = nullptr) const {
    std::string line = "cd '" + Root().string() + "' && " + command + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(line.c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) text.append(buffer, n);
    int status = pclose(pipe.release());
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  const std::filesystem::path& Root() const { return scratch_.Path(); }

  vlm::test::TScratchFolder scratch_;
};

}  // namespace standin_test
