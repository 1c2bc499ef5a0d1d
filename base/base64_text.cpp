#include "base/base64_text.h"

namespace vlm {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void AppendGroup(std::string& out, std::string_view three) {
  const auto byte = [&](std::size_t i) {
    return i < three.size() ? static_cast<unsigned char>(three[i]) : 0u;
  };
  const unsigned value = byte(0) << 16 | byte(1) << 8 | byte(2);
  out += kAlphabet[value >> 18 & 63];
  out += kAlphabet[value >> 12 & 63];
  out += three.size() > 1 ? kAlphabet[value >> 6 & 63] : '=';
  out += three.size() > 2 ? kAlphabet[value & 63] : '=';
}

}  // namespace

void AppendBase64Lines(std::string& out, std::string_view bytes) {
  out.reserve(out.size() + (bytes.size() + 2) / 3 * 4 + (bytes.size() / kBase64LineBytes + 1) * 2);
  for (std::size_t line = 0; line < bytes.size(); line += kBase64LineBytes) {
    const std::string_view piece = bytes.substr(line, kBase64LineBytes);
    for (std::size_t i = 0; i < piece.size(); i += 3) AppendGroup(out, piece.substr(i, 3));
    out += "\r\n";
  }
}

}  // namespace vlm
