#pragma once
// A POSIX directory stream, closed with its scope; for the native bodies of file walks only.
#include <dirent.h>

#include <string>

namespace vlm {

class TDirectory {
 public:
  explicit TDirectory(const std::string& path) : FDir(opendir(path.empty() ? "." : path.c_str())) {}
  ~TDirectory() {
    if (FDir) closedir(FDir);
  }
  TDirectory(const TDirectory&) = delete;
  TDirectory& operator=(const TDirectory&) = delete;
  DIR* get() const { return FDir; }

 private:
  DIR* FDir;
};

// "." or "..".
inline bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

}  // namespace vlm
