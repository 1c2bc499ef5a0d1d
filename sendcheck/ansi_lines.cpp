#include "sendcheck/ansi_lines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "base/ansi_text.h"

namespace vlm {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080u;
static_assert(std::endian::native == std::endian::little,
              "a word read from memory holds its first byte lowest");

// Where the first and the last 8-bit byte of the bytes stand, eight bytes at a time from either
// end: this runs over every line of the message. {size, size} when there is none.
std::pair<std::size_t, std::size_t> EightBitSpan(std::string_view bytes) {
  const std::size_t size = bytes.size();
  const auto eightBit = [&](std::size_t i) { return (bytes[i] & 0x80) != 0; };
  std::size_t first = 0;
  for (std::uint64_t word; first + 8 <= size; first += 8) {
    std::memcpy(&word, bytes.data() + first, sizeof word);
    if (word & kHighBits) break;
  }
  while (first < size && !eightBit(first)) ++first;
  if (first == size) return {size, size};
  std::size_t end = size;  // one past the last 8-bit byte
  for (std::uint64_t word; end >= first + 8; end -= 8) {
    std::memcpy(&word, bytes.data() + end - 8, sizeof word);
    if (word & kHighBits) break;
  }
  while (!eightBit(end - 1)) --end;
  return {first, end - 1};
}

// For eight bytes whose lead-byte flags are the bits of an index (bit k for byte k), given
// whether the first of them is a second byte: how many of them are second bytes, and whether the
// byte after them is one.
struct TEightByteStep {
  std::uint8_t Seconds;
  std::uint8_t SecondAfter;
};
constexpr auto kEightByteSteps = [] {
  std::array<std::array<TEightByteStep, 2>, 256> steps{};
  for (unsigned flags = 0; flags < 256; ++flags) {
    for (unsigned first = 0; first < 2; ++first) {
      unsigned second = first, seconds = 0;
      for (unsigned k = 0; k < 8; ++k) {
        seconds += second;
        second = (second ^ 1u) & (flags >> k & 1u);
      }
      steps[flags][first] = {static_cast<std::uint8_t>(seconds), static_cast<std::uint8_t>(second)};
    }
  }
  return steps;
}();

}  // namespace

TAnsiLine::TAnsiLine(std::string_view bytes, const TLeadBytes& lead, bool ascii)
    : FBytes(bytes), FLead(lead), FStarts(bytes, lead) {
  const auto [first, last] = ascii ? std::pair(bytes.size(), bytes.size()) : EightBitSpan(bytes);
  FAscii = first == bytes.size();
  FFirstEightBit = first;
  FLastEightBit = last;
  // Every byte before the first 8-bit one begins a character: the walk starts there.
  FStarts = TCharacterStarts(bytes, lead, first);
}

std::size_t TAnsiLine::EightBitCharCount() const {
  // Every byte is a character but the second bytes of two-byte characters. Only the stretch from
  // the first 8-bit byte to the byte after the last one can hold second bytes. Whether a byte is
  // one depends only on the byte before, so the walk carries one flag, eight bytes a step: their
  // lead-byte flags are looked up two bytes at a time, and one table step gives the count and the
  // flag for the next eight. A lead byte at the very end counts as a character of its own.
  const std::size_t size = FBytes.size();
  const std::size_t end = std::min(FLastEightBit + 2, size);
  const auto* bytes = reinterpret_cast<const unsigned char*>(FBytes.data());
  std::size_t seconds = 0, i = FFirstEightBit;
  unsigned second = 0;
  // Bytes past `end` are ASCII: a step may run over them, up to the end of the line.
  for (; i < end && i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    const auto pair = [&](unsigned k) {
      return FLead.PairFlags(static_cast<unsigned>(word >> (16 * k)) & 0xFFFF) << (2 * k);
    };
    const unsigned flags = pair(0) | pair(1) | pair(2) | pair(3);
    const TEightByteStep step = kEightByteSteps[flags][second];
    seconds += step.Seconds;
    second = step.SecondAfter;
  }
  for (; i < end; ++i) {
    seconds += second;
    second = (second ^ 1u) & static_cast<unsigned>(FLead[bytes[i]]);
  }
  return size - seconds;
}

TNeedle::TNeedle(std::wstring_view text) : FWide(text), FAnsi(ToAnsiExact(text)) {}

std::optional<std::size_t> TNeedle::FindIn(const TAnsiLine& line) const {
  // A text the code page cannot write never stands in text read from that code page.
  if (!FAnsi) return std::nullopt;
  if (FAnsi->empty()) return 0;
  const std::string_view bytes = line.Bytes();
  for (std::size_t at = 0;; ++at) {
    at = FindBytes(bytes, at, bytes.size(), 0);
    if (at == bytes.size()) return std::nullopt;
    if (line.BeginsCharacter(at)) return at;
  }
}

std::size_t TNeedle::FindBytes(std::string_view text, std::size_t from, std::size_t to,
                               std::size_t anchor) const {
  if (!FAnsi || FAnsi->empty()) return to;
  const std::string& needle = *FAnsi;
  const char byte = needle[anchor];
  // A hit at `at` has the anchor byte at `at + anchor` and ends by `to`.
  for (std::size_t at = from; at + needle.size() <= to;) {
    const void* hit = std::memchr(text.data() + at + anchor, byte, to - needle.size() - at + 1);
    if (!hit) break;
    at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) - anchor;
    // The needle's ends are compared first: most candidates differ there already.
    if (text[at] == needle.front() && text[at + needle.size() - 1] == needle.back() &&
        std::memcmp(text.data() + at, needle.data(), needle.size()) == 0)
      return at;
    ++at;
  }
  return to;
}

std::size_t TNeedle::RarestByteIn(std::string_view text) const {
  if (!FAnsi || FAnsi->empty()) return 0;
  // Pieces from all over the text: a message's body and its attachments hold different bytes,
  // and a byte rare in the body can fill every line of base64.
  constexpr std::size_t kPieces = 8, kPiece = 512;
  std::array<std::size_t, 256> counts{};
  const std::size_t stride = std::max(text.size() / kPieces, kPiece);
  for (std::size_t at = 0; at < text.size(); at += stride)
    for (const char c : text.substr(at, kPiece)) ++counts[static_cast<unsigned char>(c)];
  std::size_t rarest = 0;
  for (std::size_t i = 1; i < FAnsi->size(); ++i)
    if (counts[static_cast<unsigned char>((*FAnsi)[i])] <
        counts[static_cast<unsigned char>((*FAnsi)[rarest])])
      rarest = i;
  return rarest;
}

bool TNeedleSweep::Search(const TAnsiLine& line, std::size_t limit) {
  const std::string_view bytes = line.Bytes();
  const auto begin = static_cast<std::size_t>(bytes.data() - FText.data());
  const std::size_t end = begin + bytes.size();
  const std::size_t size = FNeedle.ByteSize();
  if (size == 0) return false;
  // A sweep whose hit lay on an earlier line starts again here. The byte to look for is chosen
  // once, from the text from the first line asked about on.
  if (!FStarted || FNext < begin) {
    if (!FStarted) FAnchor = FNeedle.RarestByteIn(FText.substr(begin));
    FSearchEnd = std::max(limit, end);
    FNext = FNeedle.FindBytes(FText, begin, FSearchEnd, FAnchor);
    FStarted = true;
  }
  while (true) {
    if (FNext == FSearchEnd && FSearchEnd < end) {
      // The sweep ended inside this line, at an earlier limit: it goes on from the first place
      // a hit could still begin.
      const std::size_t from = std::max(begin, FSearchEnd + 1 >= size ? FSearchEnd + 1 - size : 0);
      FSearchEnd = std::max(limit, end);
      FNext = FNeedle.FindBytes(FText, from, FSearchEnd, FAnchor);
      continue;
    }
    // The needle holds no line break, so a hit that ends past the line begins past it too.
    if (FNext == FSearchEnd || FNext + size > end) return false;
    if (line.BeginsCharacter(FNext - begin)) return true;
    FNext = FNeedle.FindBytes(FText, FNext + 1, FSearchEnd, FAnchor);
  }
}

}  // namespace vlm
