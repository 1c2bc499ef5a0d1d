#pragma once
// The settings form's archive component, driven the way the drop handling packs an item. The
// Windows side binds it to TArchiveFile; tests bind it to a recorder.
#include <string>
#include <vector>

#include "archiver/archiver_options.h"
#include "archiver/archiver_types.h"

namespace vlm {

class TDropArchive {
 public:
  virtual ~TDropArchive() = default;
  // Each of these throws when the settings form has no archive component.
  virtual void SetFileName(const std::wstring& fileName) = 0;
  virtual void SetArchiverType(TArchiverType type) = 0;
  virtual TArchiverOptions& Options() = 0;
  virtual void SetOutputSize(int size) = 0;
  // Packs `files` (names relative to `baseDir`, or full paths when it is empty) with the
  // component's own options; the archiver's result code, 0 on success. Throws when the archiver
  // cannot be loaded or run.
  virtual int PackFiles(const std::vector<std::wstring>& files, const std::wstring& baseDir) = 0;
  // The files the last PackFiles handed to the archiver that the archive it wrote does not list;
  // empty when all are there or when the archive cannot be listed.
  virtual std::vector<std::wstring> MissingFiles() = 0;
  // Starts the archiver installer from the plug-in folder, as the settings' caldix button does.
  virtual void StartInstaller() = 0;
};

}  // namespace vlm
