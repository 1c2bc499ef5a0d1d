#pragma once
// A stored message read once for a rewrite: its lines, where its header ends, its type and the
// boundary of its own parts. Each step of a rewrite reads these instead of the text again: a
// message can be tens of megabytes.
#include <cstddef>
#include <string>
#include <string_view>

#include "base/host_lines.h"
#include "received/content_type.h"
#include "received/message_lines.h"

namespace vlm {

struct TMessageView {
  std::string_view Text;  // the whole message; Lines point into it
  TLineList Lines;
  size_t HeaderEnd = kNoLine;  // the first empty line; kNoLine when the header never ends
  TContentType Type;           // of the header (of every line when the header never ends)
  // The boundary parameter of a multipart Type in a header that ends; empty otherwise. A boundary
  // further down belongs to a nested part, and parts written with it would land inside that part.
  std::string Boundary;

  // The lines of the header: up to its end, or all of them when it never ends.
  [[nodiscard]] size_t HeaderLineCount() const {
    return HeaderEnd < Lines.size() ? HeaderEnd : Lines.size();
  }
  // The bytes of lines [from, to) as they stand in Text, each with its own line break (CR LF,
  // LF or CR), up to the end of the text when `to` is the line count. A rewrite copies what it
  // keeps this way: stored bytes never change, whatever breaks the sender used.
  [[nodiscard]] std::string_view Span(size_t from, size_t to) const;
};

// Reads `text` (which must outlive the view) into a view.
[[nodiscard]] TMessageView ViewMessage(std::string_view text);

[[nodiscard]] std::string ClosingDelimiter(std::string_view boundary);
// The first line that begins with the closing delimiter, which a MIME reader takes as the end of
// the parts (what follows is epilogue, never shown); kNoLine when there is none.
[[nodiscard]] size_t FindClosingDelimiter(const TLineList& lines, std::string_view boundary);

// The status text for a message of a multipart type other than multipart/mixed, which the
// rewrites leave alone: a part added to it would break a signature, the choice among
// alternatives or the layout of a report.
[[nodiscard]] std::wstring UnwritableMultipartText(std::string_view type);

}  // namespace vlm
