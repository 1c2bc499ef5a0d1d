#pragma once
// A file written under a name of its own in the target folder and renamed to the name the caller
// uses only once it is complete, so no half-written file is ever seen under that name.
#include <filesystem>

#include "received/new_file.h"

namespace vlm {

class TTemporaryFile {
 public:
  // Creates the file, by one exclusive create, under the first name "~tnef<number>.part" that
  // nothing in the folder uses, counting on from `number`; raises ETNEFConvert when it cannot.
  TTemporaryFile(const std::filesystem::path& folder, unsigned& number);
  // Removes the file unless it was renamed into place.
  ~TTemporaryFile();
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  void Write(const char* data, size_t size);
  // Closes the file; raises ETNEFConvert when any write failed.
  void Close();
  bool IsOpen() const { return FFile.IsOpen(); }
  // Closes the file and renames it to `target`, replacing a file of that name; raises
  // ETNEFConvert on failure.
  void RenameTo(const std::filesystem::path& target);

 private:
  std::filesystem::path FPath;
  TNewFile FFile;
  bool FRenamed = false;
};

}  // namespace vlm
