#pragma once
// The archives of make_archives.py, written once per test program into a scratch folder.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/file_bytes.h"
#include "tests/support/scratch_folder.h"

namespace vlm::test {

class TArchiveFixtures {
 public:
  static const TArchiveFixtures& Get() {
    static const TArchiveFixtures fixtures;
    return fixtures;
  }
  std::string Bytes(const std::string& name) const { return ReadFile(FFolder.Path() / name); }

 private:
  TArchiveFixtures() {
    const std::string command = "python3 \"" VELMORA_SOURCE_DIR
                                "/tests/unit/sendcheck/make_archives.py\" \"" +
                                FFolder.Path().string() + "\"";
    if (std::system(command.c_str()) != 0) std::abort();
  }
  TScratchFolder FFolder;
};

}  // namespace vlm::test
