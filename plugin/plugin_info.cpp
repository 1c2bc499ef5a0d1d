#include "plugin/plugin_info.h"

#include <cstring>

#include "plugin/ansi_text.h"

namespace vlm {
namespace {

void CopyField(char* field, const std::string& text) {
  const std::size_t n = text.size() < kPluginInfoFieldSize ? text.size() : kPluginInfoFieldSize - 1;
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

}  // namespace

void FillPluginInfo(char* block, const std::wstring& pluginVersion) {
  CopyField(block, kPluginName);
  CopyField(block + kPluginInfoFieldSize, kPluginVendor);
  CopyField(block + 2 * kPluginInfoFieldSize, ToAnsi(pluginVersion));
  CopyField(block + 3 * kPluginInfoFieldSize, ToAnsi(kPluginDescription));
}

}  // namespace vlm
