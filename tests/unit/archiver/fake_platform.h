#pragma once
// Fixed answers for the facts the command builders ask about.
#include <map>
#include <set>
#include <string>

#include "archiver/archiver_platform.h"

namespace vlm::test {

class FakePlatform : public TArchiverPlatform {
 public:
  bool callBack = false;
  std::set<TZipModule> zipDlls = {TZipModule::UnZip32, TZipModule::Zip32J};
  std::map<std::wstring, std::wstring> searchPath;  // module -> full path
  std::map<std::wstring, std::wstring> registry;    // key + "|" + value -> data
  std::set<std::wstring> files;
  std::wstring currentFolder = L"C:\\work\\";

  bool CallBackEnabled() const override { return callBack; }
  bool ZipDllLoaded(TZipModule dll) const override { return zipDlls.count(dll) != 0; }
  std::optional<std::wstring> SearchExecutablePath(const std::wstring& module) const override {
    auto it = searchPath.find(module);
    if (it == searchPath.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::wstring> ReadMachineRegistryString(const std::wstring& key,
                                                        const std::wstring& value) const override {
    auto it = registry.find(key + L"|" + value);
    if (it == registry.end()) return std::nullopt;
    return it->second;
  }
  bool FileExists(const std::wstring& fileName) const override {
    return files.count(fileName) != 0;
  }
  std::wstring ExpandFileName(const std::wstring& fileName) const override {
    if (fileName.size() > 1 && fileName[1] == L':') return fileName;
    return currentFolder + fileName;
  }
};

}  // namespace vlm::test
