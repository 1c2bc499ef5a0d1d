#pragma once
// The plug-in information block the host reads through BKC_OnPlugInInfo.
#include <cstddef>
#include <string>

namespace vlm {

inline constexpr std::size_t kPluginInfoFieldSize = 80;
inline constexpr std::size_t kPluginInfoSize = 4 * kPluginInfoFieldSize;
inline constexpr const char* kPluginName = "Velmora Plugin";
inline constexpr const char* kPluginVendor = "Velmora Project";
inline constexpr const wchar_t* kPluginDescription = L"添付ファイルのための総合プラグインです。";

// Fills the four NUL-terminated Shift-JIS fields (name, vendor, version, description) at offsets 0,
// 80, 160 and 240 of `block`; a field too long for its 80 bytes is cut so its NUL always fits.
void FillPluginInfo(char* block, const std::wstring& pluginVersion);

}  // namespace vlm
