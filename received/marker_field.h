#pragma once
// The marker field "X-Velmora" of a rewritten message. A message keeps one such field whatever
// the rewrites did to it: each rewrite adds its word to the value of the field in place, so a
// reader that takes the first field (as the host's header lookup does) sees every rewrite, and an
// expanded message that later gets a file still says it was expanded ("Settlement Setattach").
#include <string>
#include <string_view>
#include <vector>

#include "received/mime_rules.h"

namespace vlm {

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

// The header lines [0, headerEnd) with the marker field holding `word`.
void WriteMarkedHeader(TLineWriter& out, const TLineList& lines, size_t headerEnd,
                       std::string_view word);

}  // namespace vlm
