#pragma once
// The lines of the outgoing message (as TLineReader hands them out) in the host's code page,
// without converting them. The send checks read messages of many megabytes while the user waits:
// texts are found with a skipping search, and a line holds no copy of its bytes. Only the bytes
// of lines with 8-bit characters are walked one character at a time, to count their characters
// and to check that a hit begins a character.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/character_starts.h"

namespace vlm {

// One line in the code page, with what is known about its bytes.
class TAnsiLine {
 public:
  // `ascii`: the reader that found the line already knows it holds no 8-bit byte.
  TAnsiLine(std::string_view bytes, const TLeadBytes& lead, bool ascii = false);

  std::string_view Bytes() const { return FBytes; }
  bool IsAscii() const { return FAscii; }
  // Characters in the line, a two-byte character counting once.
  std::size_t CharCount() const { return FAscii ? FBytes.size() : EightBitCharCount(); }
  // Whether byte `at` begins a character (and is not the second byte of one). Asked at the hits
  // of a search in turn, the line is walked once.
  bool BeginsCharacter(std::size_t at) const { return FAscii || FStarts.At(at); }

 private:
  std::size_t EightBitCharCount() const;

  std::string_view FBytes;
  const TLeadBytes& FLead;
  bool FAscii;
  // The first and the last 8-bit byte, when the line has any.
  std::size_t FFirstEightBit;
  std::size_t FLastEightBit;
  // Where the walk over the line's characters stands: remembered between questions, which do
  // not change the line.
  mutable TCharacterStarts FStarts;
};

// A text to look for on lines, case-sensitively, in both the code page's form and wide form.
class TNeedle {
 public:
  explicit TNeedle(std::wstring_view text);

  bool Empty() const { return FWide.empty(); }
  // Where the text first begins a character in `line`, or nothing.
  std::optional<std::size_t> FindIn(const TAnsiLine& line) const;
  bool In(const TAnsiLine& line) const { return FindIn(line).has_value(); }
  bool In(std::wstring_view line) const { return line.find(FWide) != std::wstring_view::npos; }
  // Where the code page's bytes of the text first stand in `text` between `from` and `to`,
  // wherever a character begins or not; `to` when nowhere. Looks for the byte at `anchor` in
  // the needle with memchr and compares the rest around each hit.
  std::size_t FindBytes(std::string_view text, std::size_t from, std::size_t to,
                        std::size_t anchor) const;
  // The needle's byte that `text` holds least often, judged by pieces of it: the best one to
  // look for.
  std::size_t RarestByteIn(std::string_view text) const;
  std::size_t ByteSize() const { return FAnsi ? FAnsi->size() : 0; }

 private:
  std::wstring FWide;
  std::optional<std::string> FAnsi;  // none when the code page cannot write the text
};

// A needle looked for in a text whose lines are read in order: the whole text is searched in one
// sweep, not line by line, and each line only asks whether the next hit falls on it.
class TNeedleSweep {
 public:
  TNeedleSweep(const TNeedle& needle, std::string_view text) : FNeedle(needle), FText(text) {}

  // Whether the needle begins a character on `line`, a line of the text read after the ones
  // asked about before; hits are looked for no further than `limit` (an offset in the text).
  bool On(const TAnsiLine& line, std::size_t limit) {
    limit = std::min(limit, FText.size());  // a search never reads past the text
    // Most lines lie before the next hit of a sweep that reaches past them: answered here.
    const auto begin = static_cast<std::size_t>(line.Bytes().data() - FText.data());
    const std::size_t end = begin + line.Bytes().size();
    if (FStarted && FNext >= begin &&
        (FNext == FSearchEnd ? FSearchEnd >= end : FNext + FNeedle.ByteSize() > end))
      return false;
    return Search(line, limit);
  }
  // After On: where the next hit at or after that line's start begins (a hit of the bytes, which
  // may turn out not to begin a character), or the end of the sweep.
  std::size_t NextHit() const { return FNext; }

 private:
  bool Search(const TAnsiLine& line, std::size_t limit);

  const TNeedle& FNeedle;
  std::string_view FText;
  std::size_t FNext = 0;       // the next hit of the current sweep, or FSearchEnd for none
  std::size_t FSearchEnd = 0;  // where the current sweep ends
  std::size_t FAnchor = 0;     // the needle's byte looked for, chosen when the sweep starts
  bool FStarted = false;
};

}  // namespace vlm
