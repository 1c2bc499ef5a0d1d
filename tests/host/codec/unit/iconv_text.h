#pragma once
// Reference conversions for the tests, through iconv.
#include <iconv.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vlm::test {

// Converts with iconv; nothing when some input cannot be converted. With `replace`, an input
// character without a mapping becomes '?' instead (UTF-8 input only).
inline std::optional<std::string> Iconv(const char* to, const char* from, std::string_view input,
                                        bool replace = false) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out;
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  bool ok = true;
  for (bool flushing = false;;) {
    char buffer[256];
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t rc = flushing ? iconv(cd, nullptr, nullptr, &dst, &dstLeft)
                               : iconv(cd, &in, &inLeft, &dst, &dstLeft);
    out.append(buffer, dst);
    if (rc != static_cast<size_t>(-1)) {
      if (flushing) break;
      flushing = true;
    } else if (errno == E2BIG) {
      continue;
    } else if (replace && errno == EILSEQ && inLeft > 0) {
      // Skip one UTF-8 character.
      do {
        ++in;
        --inLeft;
      } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xc0) == 0x80);
      out += '?';
    } else {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

inline std::string Utf8ToCp932Iconv(std::string_view utf8) {
  return *Iconv("CP932", "UTF-8", utf8, true);
}

}  // namespace vlm::test
