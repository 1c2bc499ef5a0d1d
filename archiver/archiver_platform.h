#pragma once
// What the command builders need to know about the running system and the archiver's DLL
// binding. The Windows runtime answers from its bindings, its owner window, SearchPath and the
// registry; tests answer with fixed facts.
#include <optional>
#include <string>

namespace vlm {

// The three DLLs of the ZIP family; any combination may be installed.
enum class TZipModule { UnZip32, Zip32J, LmZip32 };

class TArchiverPlatform {
 public:
  virtual ~TArchiverPlatform() = default;

  // True while an owner window is registered with the archiver's DLL (progress messages wanted),
  // which makes several formats ask their DLL for progress events.
  virtual bool CallBackEnabled() const = 0;

  // True when that ZIP DLL is loaded in the ZIP binding.
  virtual bool ZipDllLoaded(TZipModule dll) const = 0;

  // The full path of `module` found on the executable search path, or nothing.
  virtual std::optional<std::wstring> SearchExecutablePath(const std::wstring& module) const = 0;

  // The string value `valueName` of the machine-wide registry key `keyName` (read access), or
  // nothing when the key or value is missing.
  virtual std::optional<std::wstring> ReadMachineRegistryString(
      const std::wstring& keyName, const std::wstring& valueName) const = 0;

  // True when a file of that name exists.
  virtual bool FileExists(const std::wstring& fileName) const = 0;

  // `fileName` made absolute against the current folder.
  virtual std::wstring ExpandFileName(const std::wstring& fileName) const = 0;
};

}  // namespace vlm
