#include "tests/host/base64.h"

namespace host {
namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string DecodeBase64(const std::string& text) {
  std::string out;
  unsigned value = 0;
  int bits = 0;
  for (char c : text) {
    if (c == '=') break;
    const char* at = nullptr;
    for (const char* p = kAlphabet; *p; ++p)
      if (*p == c) at = p;
    if (!at) continue;
    value = (value << 6) | static_cast<unsigned>(at - kAlphabet);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((value >> bits) & 0xFF);
    }
  }
  return out;
}

}  // namespace host
