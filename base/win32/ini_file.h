#pragma once
#include <string>

#include "base/settings_ini.h"

namespace vlm {

// Section "Set" of a Windows INI file.
class TWinIniFile final : public TIniFile {
 public:
  explicit TWinIniFile(std::wstring path) : path_(std::move(path)) {}
  [[nodiscard]] std::optional<std::wstring> Read(const std::wstring& key) const override;
  // Throws std::runtime_error with the system's reason when the file cannot be written.
  void Write(const std::wstring& key, const std::wstring& value) override;

 private:
  std::wstring path_;
};

}  // namespace vlm
