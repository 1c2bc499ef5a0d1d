#pragma once
// Writes a file under a temporary name beside its final place and renames it there only when
// everything was written, so a failure never leaves a half-written file (a self-extracting
// program that would start and then crash) nor destroys the file it was meant to replace.
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

namespace vlm {

class TReplacingFile {
 public:
  // Creates the temporary file. Throws EFileError when it cannot be created.
  explicit TReplacingFile(std::wstring fileName);
  ~TReplacingFile();  // removes the temporary file unless Commit() ran
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  void Append(std::string_view bytes);

  // Appends the whole content of `source`; returns its length. Throws EFileError when it cannot
  // be opened or read.
  std::uint64_t AppendFile(const std::wstring& source);

  // Flushes and moves the temporary file to the final name, replacing any file there. Throws
  // EFileError on failure; the final name is then untouched.
  void Commit();

 private:
  void CheckWritten();

  std::wstring FFileName;
  std::wstring FTempName;
  std::ofstream FOut;
  bool FCommitted = false;
};

}  // namespace vlm
