#include "tests/host/codec/win32/utf8_to_cp932.h"

#include <windows.h>

namespace hostcodec {

std::string Utf8ToCp932Windows(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int inLength = static_cast<int>(utf8.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, wide.data(), wideLength);
  const int outLength =
      WideCharToMultiByte(932, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(outLength), '\0');
  WideCharToMultiByte(932, 0, wide.data(), wideLength, out.data(), outLength, nullptr, nullptr);
  return out;
}

}  // namespace hostcodec
