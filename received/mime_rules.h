#pragma once
// The MIME text rules shared by the winmail.dat expansion and the adding of a file: message lines,
// the boundary of a message, the attachment part, the closing delimiter, header fields, the marker
// header and the hand-back of a rewritten message to the host.
//
// A stored message is worked on as the host's 8-bit text, line by line, and its lines are handed
// back byte for byte. Received mail carries 8-bit text in any character set (UTF-8 bodies, Latin-1
// headers); a trip through the code page would replace what it cannot map and damage those lines.
// Only the text the plug-in writes itself is converted.
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_api.h"

namespace vlm {

// A failure while rewriting a stored message: a file operation, the host's base64 conversion,
// a host buffer. The stored message is left as it was.
class EReceivedMail : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr size_t kNoLine = static_cast<size_t>(-1);

// The lines of a text split at CR LF, CR or LF, without the breaks; a break at the very end starts
// no further line. The views point into `text`.
using TLineList = std::vector<std::string_view>;
[[nodiscard]] TLineList SplitLines(std::string_view text);

// A text built line by line, every line followed by CR LF: into a string of its own, into a
// buffer of a size known beforehand, or only counted, to learn that size.
class TLineWriter {
 public:
  TLineWriter() = default;
  // Writes into `buffer` of `capacity` bytes; a line that would not fit raises EReceivedMail.
  TLineWriter(char* buffer, size_t capacity) : FBuffer(buffer), FCapacity(capacity) {}
  // Writes nothing and only counts the bytes.
  [[nodiscard]] static TLineWriter Counting() {
    TLineWriter writer;
    writer.FCounting = true;
    return writer;
  }

  void Reserve(size_t bytes) { FText.reserve(bytes); }
  void Line(std::string_view line);
  void Lines(const TLineList& lines, size_t from, size_t to);
  // Each line of `text` (split as SplitLines splits it), without a list of them in between.
  void TextLines(std::string_view text);
  // The bytes written (or counted) so far.
  [[nodiscard]] size_t Size() const { return FBuffer || FCounting ? FSize : FText.size(); }
  [[nodiscard]] const std::string& Text() const { return FText; }
  [[nodiscard]] std::string Take() { return std::move(FText); }

 private:
  void Append(std::string_view bytes);

  std::string FText;
  char* FBuffer = nullptr;
  size_t FCapacity = 0;
  size_t FSize = 0;
  bool FCounting = false;
};

[[nodiscard]] bool StartsWith(std::string_view line, std::string_view prefix);
[[nodiscard]] bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix);
// Whether `line` contains `text` (ASCII) as characters of the code page: a line holding other
// bytes is compared as wide text, so a second byte of a double-byte character never matches.
// The position after the match in `line` goes to `end`.
[[nodiscard]] bool ContainsText(std::string_view line, std::string_view text,
                                size_t* end = nullptr);

// The index of the first empty line, the end of the message header; kNoLine when there is none.
[[nodiscard]] size_t HeaderEnd(const TLineList& lines);

// The boundary of the message itself: the boundary parameter of the Content-Type field of the
// message header, when that names a multipart type; empty otherwise. A boundary further down
// belongs to a nested part, and parts written with it would land inside that part.
[[nodiscard]] std::string MessageBoundary(const TLineList& lines);

[[nodiscard]] std::string ClosingDelimiter(std::string_view boundary);
// The last line that begins with the closing delimiter; kNoLine when there is none.
[[nodiscard]] size_t FindClosingDelimiter(const TLineList& lines, std::string_view boundary);

// The value of the header field `name` among lines [0, headerEnd), continuation lines joined by
// one space, outer blanks removed; nothing when the header lacks the field.
[[nodiscard]] std::optional<std::string> HeaderField(const TLineList& lines, size_t headerEnd,
                                                     std::string_view name);
// The line where the field `name` starts in [0, headerEnd), and one past its continuation lines.
struct TFieldLines {
  size_t First = kNoLine;
  size_t End = kNoLine;
};
[[nodiscard]] TFieldLines FindHeaderField(const TLineList& lines, size_t headerEnd,
                                          std::string_view name);

// The marker header that tells the rewrites apart; written into the rewritten text as a header
// line of its own, so it always lands on the message that was rewritten.
inline constexpr std::string_view kMarkerHeader = "X-Velmora";
inline constexpr std::string_view kMarkerExpanded = "Settlement";
inline constexpr std::string_view kMarkerFileAdded = "Setattach";
[[nodiscard]] std::string MarkerLine(std::string_view value);
// Whether some marker header among lines [0, headerEnd) contains `value`.
[[nodiscard]] bool HasMarker(const TLineList& lines, size_t headerEnd, std::string_view value);

// One attachment part: the boundary line, its content headers naming `fileName` (code-page text,
// written unchanged), an empty line, the lines of the base64 text, and two empty lines.
void WriteAttachmentPart(TLineWriter& out, std::string_view boundary, std::string_view mimeType,
                         std::string_view fileName, std::string_view base64);

// A buffer from the host's Alloc, given back to its Free. Raises EReceivedMail when the host
// gives none.
class THostBuffer {
 public:
  THostBuffer(const TBeckyAPI& host, size_t size);
  ~THostBuffer() { FHost.Free(FData); }
  THostBuffer(const THostBuffer&) = delete;
  THostBuffer& operator=(const THostBuffer&) = delete;
  [[nodiscard]] char* Data() const { return FData; }

 private:
  const TBeckyAPI& FHost;
  char* FData;
};

// Hands the rewritten text back for `mail`: a buffer from the host's Alloc holding the text and a
// zero byte goes to SetSource and back to Free. Raises EReceivedMail when the host gives no buffer.
void HandBack(const TBeckyAPI& host, const char* mail, std::string_view text);

// The status text for a message of a multipart type other than multipart/mixed, which the
// rewrites leave alone: a part added to it would break a signature, the choice among
// alternatives or the layout of a report.
[[nodiscard]] std::wstring UnwritableMultipartText(std::string_view type);

// A host text, or empty for a null pointer.
[[nodiscard]] inline std::string_view HostText(const char* text) {
  return text ? std::string_view(text) : std::string_view();
}

}  // namespace vlm
