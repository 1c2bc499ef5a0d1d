#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "base/ansi_text.h"
#include "base/text.h"

namespace vlm {
namespace {

// Converts with iconv, replacing nothing: an unconvertible sequence raises.
std::string Convert(const char* to, const char* from, std::string_view input) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out(input.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("code page conversion failed");
  out.resize(out.size() - dstLeft);
  return out;
}

std::wstring FromUtf32(const std::string& bytes) {
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                      bytes.size() / sizeof(wchar_t));
}

std::string_view AsBytes(std::wstring_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
}

// ASCII reads the same in UTF-8 and in code page 932, and most names and paths are nothing else:
// they are widened or narrowed as they are, without opening a converter, which costs more than
// the conversion of a name.
std::wstring FromAsciiCompatible(const char* from, std::string_view text) {
  if (IsAsciiText(text)) return std::wstring(text.begin(), text.end());
  return FromUtf32(Convert("WCHAR_T", from, text));
}

std::string ToAnsiCodePage(std::wstring_view text) {
  if (IsAsciiText(text)) return std::string(text.begin(), text.end());
  return Convert("CP932", "WCHAR_T", AsBytes(text));
}

}  // namespace

std::wstring FromAnsi(std::string_view text) {
  return FromAsciiCompatible("CP932", text);
}
std::string ToAnsi(std::wstring_view text) {
  return ToAnsiCodePage(text);
}
std::optional<std::string> ToAnsiExact(std::wstring_view text) {
  try {
    return ToAnsi(text);
  } catch (const std::runtime_error&) {
    return std::nullopt;
  }
}
std::wstring BestFitAnsi(std::wstring_view text) {
  std::wstring out;
  for (const wchar_t c : text) out += ToAnsiExact(std::wstring_view(&c, 1)) ? c : L'?';
  return out;
}
std::string ToShiftJis(std::wstring_view text) {
  return ToAnsiCodePage(text);
}
bool IsAnsiLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
std::wstring FromUtf8(std::string_view text) {
  return FromAsciiCompatible("UTF-8", text);
}

std::wstring FromCodePage(unsigned codePage, std::string_view text) {
  std::string name;
  if (codePage == 65001)
    name = "UTF-8";
  else if (codePage == 20127)
    name = "ASCII";
  else if (codePage >= 28591 && codePage <= 28599)
    name = "ISO-8859-" + std::to_string(codePage - 28590);
  else
    name = "CP" + std::to_string(codePage);
  return FromUtf32(Convert("WCHAR_T", name.c_str(), text));
}

}  // namespace vlm
