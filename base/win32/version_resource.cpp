#include <windows.h>

#include <vector>

#include "base/win32/module.h"

namespace vlm {

void ReadFileVersion(TVersion& version) {
  const std::wstring path = ModulePath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return;
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\041103A4\\FileVersion",
                      reinterpret_cast<void**>(&value), &length) ||
      !value)
    return;
  std::wstring text(value);
  if (auto parsed = ParseFileVersion(text)) version = *parsed;
}

}  // namespace vlm
