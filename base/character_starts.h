#pragma once
// Which bytes of a text in the host's code page begin characters. In code page 932 the second
// byte of a two-byte character may be any byte from 0x40 on, ASCII letters and '@' included, so a
// hit of a byte search is a hit of the text only where it begins a character. Only a walk from a
// known start of a character tells that: a byte alone never does.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vlm {

// Which bytes begin two-byte characters in the code page, looked up once per message.
class TLeadBytes {
 public:
  TLeadBytes();
  bool operator[](unsigned char byte) const { return FLead[byte]; }
  // The lead-byte flags of two bytes in a row, the first as bit 0: `pair` holds the first byte
  // in its low eight bits.
  unsigned PairFlags(unsigned pair) const { return FPairs[pair]; }

 private:
  std::array<bool, 256> FLead{};
  std::vector<std::uint8_t> FPairs;
};

// Answers whether the byte at a position of `text` begins a character (and is not the second
// byte of a two-byte character). The walk goes on from the position asked before, so a search
// that asks at each of its hits in turn walks the text once.
class TCharacterStarts {
 public:
  // `from` must begin a character, as every byte before it must: the start of the text, or its
  // first 8-bit byte.
  TCharacterStarts(std::string_view text, const TLeadBytes& lead, std::size_t from = 0)
      : FText(text), FLead(&lead), FFrom(from), FStart(from), FNext(from) {}

  // Whether byte `at` (inside the text) begins a character. Asking about a position before the
  // one asked about last walks again from `from`.
  [[nodiscard]] bool At(std::size_t at);

 private:
  std::string_view FText;
  const TLeadBytes* FLead;
  std::size_t FFrom;
  std::size_t FStart;  // the start of the character walked last
  std::size_t FNext;   // the start of the character after it
};

}  // namespace vlm
