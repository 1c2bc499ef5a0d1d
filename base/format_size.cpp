#include "base/format_size.h"

namespace vlm {

std::wstring FormatSize(std::int64_t bytes) {
  std::int64_t n = bytes;
  const wchar_t* unit = L"Byte";
  if (n / 1024 + 1 > 10) {
    n = n / 1024 + 1;
    unit = L"kByte";
    if (n / 1024 + 1 > 10) {
      n = n / 1024;
      unit = L"MByte";
      if (n / 1024 > 10) {
        n = n / 1024 + 1;
        unit = L"GByte";
      }
    }
  }
  return std::to_wstring(n) + unit;
}

}  // namespace vlm
