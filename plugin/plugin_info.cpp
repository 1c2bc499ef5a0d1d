#include "plugin/plugin_info.h"

#include <cstring>

#include "base/ansi_text.h"

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
  // The host reads the block as Shift-JIS, also on a system whose ANSI code page is another.
  CopyField(block + 2 * kPluginInfoFieldSize, ToShiftJis(pluginVersion));
  CopyField(block + 3 * kPluginInfoFieldSize, ToShiftJis(kPluginDescription));
}

}  // namespace vlm
