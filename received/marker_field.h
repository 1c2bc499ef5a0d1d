#pragma once
// The marker field "X-Velmora" of a rewritten message. A message keeps one such field whatever
// the rewrites did to it: each rewrite adds its word to the value of the field in place, so a
// reader that takes the first field (as the host's header lookup does) sees every rewrite, and an
// expanded message that later gets a file still says it was expanded ("Settlement Setattach").
#include <string>
#include <string_view>
#include <vector>

#include "received/header_fields.h"
#include "received/message_lines.h"
#include "received/message_view.h"

namespace vlm {

// The marker header that tells the rewrites apart; written into the rewritten text as a header
// line of its own, so it always lands on the message that was rewritten.
inline constexpr std::string_view kMarkerHeader = "X-Velmora";
inline constexpr std::string_view kMarkerExpanded = "Settlement";
inline constexpr std::string_view kMarkerFileAdded = "Setattach";
[[nodiscard]] std::string MarkerLine(std::string_view value);
// Whether some marker header among lines [0, headerEnd) contains `value`.
[[nodiscard]] bool HasMarker(const TLineList& lines, size_t headerEnd, std::string_view value);

class TMarkerField {
 public:
  // The marker fields among the header lines [0, headerEnd), and the value they become once
  // `word` (kMarkerExpanded or kMarkerFileAdded) is added.
  TMarkerField(const TLineList& lines, size_t headerEnd, std::string_view word);

  // The one marker line to write; it goes where the first marker field stood, or at the end of
  // the header when there was none.
  [[nodiscard]] std::string Line() const { return MarkerLine(FValue); }
  [[nodiscard]] bool StartsAt(size_t line) const;
  // Whether the line belongs to a marker field: those lines give way to the one marker line.
  [[nodiscard]] bool Covers(size_t line) const;
  [[nodiscard]] bool Found() const { return !FFields.empty(); }

 private:
  std::vector<TFieldLines> FFields;
  std::string FValue;
};

// The message's header lines [0, headerEnd) with the marker field holding `word`; the lines kept
// keep their own line breaks.
void WriteMarkedHeader(TLineWriter& out, const TMessageView& message, size_t headerEnd,
                       std::string_view word);

}  // namespace vlm
