#include "tests/host/base64.h"

namespace host {
namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string EncodeBase64Lines(const std::string& data) {
  std::string out, line;
  auto byte = [&](size_t i) { return static_cast<unsigned char>(data[i]); };
  for (size_t i = 0; i < data.size(); i += 3) {
    const unsigned v = (byte(i) << 16) | (i + 1 < data.size() ? byte(i + 1) << 8 : 0) |
                       (i + 2 < data.size() ? byte(i + 2) : 0);
    line += kAlphabet[(v >> 18) & 63];
    line += kAlphabet[(v >> 12) & 63];
    line += i + 1 < data.size() ? kAlphabet[(v >> 6) & 63] : '=';
    line += i + 2 < data.size() ? kAlphabet[v & 63] : '=';
    if (line.size() == 76) {
      out += line + "\r\n";
      line.clear();
    }
  }
  if (!line.empty()) out += line + "\r\n";
  return out;
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
