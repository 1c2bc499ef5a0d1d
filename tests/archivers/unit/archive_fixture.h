#pragma once
// A scratch folder for archive tests, and the Linux archivers that judge what was written.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace standin_test {

class ArchiveFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velmora-archivers-XXXXXX";
    root_ = mkdtemp(pattern);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  std::string Path(const std::string& relative) const { return (root_ / relative).string(); }

  void WriteFile(const std::string& relative, const std::string& content) const {
    std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }

  std::string ReadFile(const std::string& relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  // Runs a shell command in the scratch folder; returns its exit status and standard output.
  int Shell(const std::string& command, std::string* output = nullptr) const {
    std::string line = "cd '" + root_.string() + "' && " + command + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(line.c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) text.append(buffer, n);
    int status = pclose(pipe.release());
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::filesystem::path root_;
};

}  // namespace standin_test
