#pragma once
// A file made by one exclusive create: it fails when the name is taken, so no probe for a free
// name comes before it and nothing that exists is ever opened by mistake. Writes go straight from
// the caller's buffer to the system, without a stream buffer in between.
#include <filesystem>

namespace vlm {

class TNewFile {
 public:
  enum class TResult { Created, NameTaken, Failed };

  TNewFile() = default;
  ~TNewFile();
  TNewFile(const TNewFile&) = delete;
  TNewFile& operator=(const TNewFile&) = delete;

  // Creates the file for writing; NameTaken when something of that name exists.
  TResult Create(const std::filesystem::path& path);
  // False when the system took less than all of it.
  bool Write(const char* data, size_t size);
  // False when the system reports an error on closing.
  bool Close();
  bool IsOpen() const { return FHandle >= 0; }

 private:
  int FHandle = -1;
};

// Writes `size` bytes as the whole file `path`, replacing a file of that name: one exclusive
// create when the name is free, as it is in a work folder that is emptied after each use. Meant
// for a folder nobody else reads, so the bytes go straight under their name; a failed write
// removes what it wrote. False on failure.
bool WriteWholeNewFile(const std::filesystem::path& path, const char* data, size_t size);

}  // namespace vlm
