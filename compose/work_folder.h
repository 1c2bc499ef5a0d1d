#pragma once
// A folder of its own below the host's temporary folder for the file one attachment is made of:
// an archive, a copy under code-page names, a pasted picture. The host is handed only the path and
// reads the file when the message is sent, so every pending attachment keeps a name no later drop
// or paste can take, in this compose window or another: each folder is claimed by one exclusive
// create, and nothing already there is ever replaced or deleted.
#include <string>

namespace vlm {

class TWorkFolder {
 public:
  // Claims "<tempFolder>Velmora\<n>" for the first free number. Throws EFileError when no folder
  // can be made there.
  explicit TWorkFolder(const std::wstring& tempFolder);
  // Removes the folder with what it holds unless Keep() ran.
  ~TWorkFolder();
  TWorkFolder(const TWorkFolder&) = delete;
  TWorkFolder& operator=(const TWorkFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // The folder holds an attachment the host has been given: it stays.
  void Keep() { kept_ = true; }

 private:
  std::wstring path_;
  bool kept_ = false;
};

}  // namespace vlm
