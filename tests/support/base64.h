#pragma once
// Base64 for building test input: mail bodies, encoded words, the host's B64Convert. Written
// straight into a string of the exact size: the benchmarks time the plug-in, not this helper.
#include <cstddef>
#include <string>
#include <string_view>

namespace vlm::test {

// Base64 on one line, padded with '='.
inline std::string EncodeBase64(std::string_view data) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const auto* in = reinterpret_cast<const unsigned char*>(data.data());
  std::string out((data.size() + 2) / 3 * 4, '\0');
  char* o = out.data();
  std::size_t i = 0;
  for (; i + 3 <= data.size(); i += 3, o += 4) {
    const unsigned v = (unsigned{in[i]} << 16) | (unsigned{in[i + 1]} << 8) | in[i + 2];
    o[0] = kAlphabet[v >> 18];
    o[1] = kAlphabet[(v >> 12) & 63];
    o[2] = kAlphabet[(v >> 6) & 63];
    o[3] = kAlphabet[v & 63];
  }
  if (i < data.size()) {
    const unsigned v =
        (unsigned{in[i]} << 16) | (i + 1 < data.size() ? unsigned{in[i + 1]} << 8 : 0u);
    o[0] = kAlphabet[v >> 18];
    o[1] = kAlphabet[(v >> 12) & 63];
    o[2] = i + 1 < data.size() ? kAlphabet[(v >> 6) & 63] : '=';
    o[3] = '=';
  }
  return out;
}

// Base64 as a mail body carries it: CR LF after every `lineLength` characters and after the last
// line; nothing at all for no data.
inline std::string EncodeBase64Lines(std::string_view data, std::size_t lineLength = 76) {
  const std::string text = EncodeBase64(data);
  std::string out;
  out.reserve(text.size() + (text.size() / lineLength + 1) * 2);
  for (std::size_t at = 0; at < text.size(); at += lineLength)
    out.append(text, at, lineLength).append("\r\n");
  return out;
}

}  // namespace vlm::test
