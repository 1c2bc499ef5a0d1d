#include "tests/host/codec/iso2022jp.h"

namespace hostcodec {
namespace {

constexpr char kEsc = 0x1b;
constexpr char kShiftOut = 0x0e;
constexpr char kShiftIn = 0x0f;

enum class CharacterSet { Ascii, Jis0208, Katakana };

bool IsJisByte(unsigned char c) {
  return c >= 0x21 && c <= 0x7e;
}
bool IsKatakanaByte(unsigned char c) {
  return c >= 0x21 && c <= 0x5f;
}

// The character set an escape sequence at the start of `rest` selects, and its length.
bool ReadEscape(std::string_view rest, CharacterSet& set, std::size_t& length) {
  struct Escape {
    std::string_view bytes;
    CharacterSet set;
  };
  static constexpr Escape kEscapes[] = {
      {"\x1b$B", CharacterSet::Jis0208},  {"\x1b$@", CharacterSet::Jis0208},
      {"\x1b(B", CharacterSet::Ascii},    {"\x1b(J", CharacterSet::Ascii},
      {"\x1b(I", CharacterSet::Katakana},
  };
  for (const Escape& escape : kEscapes) {
    if (rest.substr(0, escape.bytes.size()) == escape.bytes) {
      set = escape.set;
      length = escape.bytes.size();
      return true;
    }
  }
  return false;
}

}  // namespace

void JisToShiftJis(unsigned char first, unsigned char second, char out[2]) {
  unsigned lead = ((first - 0x21u) >> 1) + 0x81u;
  if (lead > 0x9fu) lead += 0x40u;
  unsigned trail;
  if (first & 1u) {
    trail = second + 0x1fu;
    if (trail >= 0x7fu) ++trail;  // 0x7F is never a trail byte
  } else {
    trail = second + 0x7eu;
  }
  out[0] = static_cast<char>(lead);
  out[1] = static_cast<char>(trail);
}

std::string Iso2022JpToCp932(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  CharacterSet set = CharacterSet::Ascii;
  bool shiftedOut = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    std::size_t escapeLength = 0;
    if (c == kEsc && ReadEscape(text.substr(i), set, escapeLength)) {
      i += escapeLength - 1;
    } else if (c == kShiftOut || c == kShiftIn) {
      shiftedOut = c == kShiftOut;
    } else if (c == '\r' || c == '\n') {
      set = CharacterSet::Ascii;
      shiftedOut = false;
      out += c;
    } else if ((shiftedOut || set == CharacterSet::Katakana) && IsKatakanaByte(byte)) {
      out += static_cast<char>(byte + 0x80);
    } else if (set == CharacterSet::Jis0208 && IsJisByte(byte) && i + 1 < text.size() &&
               IsJisByte(static_cast<unsigned char>(text[i + 1]))) {
      char pair[2];
      JisToShiftJis(byte, static_cast<unsigned char>(text[i + 1]), pair);
      out.append(pair, 2);
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace hostcodec
