#include "base/host_lines.h"

#include <algorithm>
#include <bit>
#include <cstring>

// Every processor that runs Velmora has SSE2: the 32-bit DLL is built with -msse2.
#ifndef __SSE2__
#error "the line reader needs SSE2"
#endif
#include <emmintrin.h>

namespace vlm {

namespace {

// Of the sixteen bytes at `data`: a bit for each CR or LF, and a bit for each 8-bit byte.
struct TBlockMasks {
  unsigned Breaks;
  unsigned EightBit;
};
TBlockMasks BlockMasks(const char* data) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
  const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n')),
                                      _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')));
  return {static_cast<unsigned>(_mm_movemask_epi8(breaks)),
          static_cast<unsigned>(_mm_movemask_epi8(block))};
}

// Where the first CR or LF at or after `at` stands (the text's size for none), and whether a byte
// before it has its high bit set. Sixteen bytes are compared at a time: messages of many
// megabytes are split into lines of about 76 bytes while the user waits, and a call of memchr per
// break (one for LF, one for CR) cost more than the search itself.
std::size_t FindBreak(std::string_view text, std::size_t at, bool& eightBit) {
  const char* data = text.data();
  const std::size_t size = text.size();
  unsigned high = 0;
  for (; at + 16 <= size; at += 16) {
    const TBlockMasks masks = BlockMasks(data + at);
    if (masks.Breaks) {
      const auto offset = static_cast<unsigned>(std::countr_zero(masks.Breaks));
      eightBit = (high | (masks.EightBit & ((1u << offset) - 1))) != 0;
      return at + offset;
    }
    high |= masks.EightBit;
  }
  for (; at < size && data[at] != '\n' && data[at] != '\r'; ++at) high |= data[at] & 0x80;
  eightBit = high != 0;
  return at;
}

}  // namespace

bool TLineReader::Next(std::string_view& line) {
  if (FAt >= FText.size()) return false;
  bool eightBit = false;
  const std::size_t end = FindBreak(FText, FAt, eightBit);
  line = FText.substr(FAt, end - FAt);
  FLineAscii = !eightBit;
  FAt = end + 1;
  if (end < FText.size() && FText[end] == '\r' && FAt < FText.size() && FText[FAt] == '\n') ++FAt;
  return true;
}

TLineReader::TSkipped TLineReader::SkipAsciiLines(std::size_t before, std::size_t avoidSize) {
  const char* data = FText.data();
  const std::size_t size = FText.size();
  before = std::min(before, size);
  TSkipped skipped;
  std::size_t lineStart = FAt;  // the first line not passed over yet
  // Blocks run over the line that ends the skip; they never reach past `before`.
  for (std::size_t block = FAt; block + 16 <= before; block += 16) {
    TBlockMasks masks = BlockMasks(data + block);
    // Only breaks before the block's first 8-bit byte end lines that may be passed over.
    const unsigned usable = masks.EightBit ? (1u << std::countr_zero(masks.EightBit)) - 1 : 0xFFFFu;
    for (; masks.Breaks; masks.Breaks &= masks.Breaks - 1) {
      const std::size_t at = block + static_cast<unsigned>(std::countr_zero(masks.Breaks));
      if (at < lineStart) continue;  // the LF of a CR LF counted with its CR
      if (!(usable >> (at - block) & 1u) || (avoidSize && at - lineStart == avoidSize)) {
        FAt = lineStart;
        return skipped;
      }
      ++skipped.Lines;
      skipped.Bytes += at - lineStart;
      lineStart = at + 1;
      if (data[at] == '\r' && lineStart < size && data[lineStart] == '\n') ++lineStart;
    }
    if (masks.EightBit) break;
  }
  FAt = lineStart;
  return skipped;
}

TLineList SplitLines(std::string_view text) {
  TLineList lines;
  // Counted first: a message of tens of megabytes has hundreds of thousands of lines, and a
  // growing list would copy itself over and over.
  std::size_t breaks = 0;
  for (const char *p = text.data(), *end = p + text.size();
       p != end &&
       (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))));
       ++p)
    ++breaks;
  lines.reserve(breaks + 1);
  TLineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.push_back(line);
  return lines;
}

}  // namespace vlm
