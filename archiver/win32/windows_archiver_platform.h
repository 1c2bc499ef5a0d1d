#pragma once
// The facts the command builders ask about, answered by the running Windows system: the owner
// window of the archiver object, the loaded ZIP DLLs, the search path and the registry.
#include <windows.h>

#include "archiver/archiver_platform.h"

namespace vlm {

class TWindowsArchiverPlatform : public TArchiverPlatform {
 public:
  // `ownerWindow` is the archiver object's owner window field, read when asked.
  explicit TWindowsArchiverPlatform(const HWND& ownerWindow) : FOwnerWindow(ownerWindow) {}

  bool CallBackEnabled() const override { return FOwnerWindow != nullptr; }
  bool ZipDllLoaded(TZipModule dll) const override;
  std::optional<std::wstring> SearchExecutablePath(const std::wstring& module) const override;
  std::optional<std::wstring> ReadMachineRegistryString(
      const std::wstring& keyName, const std::wstring& valueName) const override;
  bool FileExists(const std::wstring& fileName) const override;
  std::wstring ExpandFileName(const std::wstring& fileName) const override;

 private:
  const HWND& FOwnerWindow;
};

}  // namespace vlm
