#pragma once
// Content-Type field values read as MIME defines them: a type and subtype, then parameters whose
// names may come in any letter case and whose values may be quoted strings or bare tokens, with
// comments and blanks allowed between the pieces. Mail in the wild writes `Boundary=`, unquoted
// boundaries and folded parameter lists; a reader that only knows one spelling refuses valid mail.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/host_lines.h"

namespace vlm {

struct TContentType {
  std::string Type;  // "type/subtype", lower-cased; empty when the value names none
  // In field order, names lower-cased, values with their quotes and escapes removed.
  std::vector<std::pair<std::string, std::string>> Parameters;

  // The first parameter of that name (any letter case); nothing when there is none.
  [[nodiscard]] std::optional<std::string> Parameter(std::string_view name) const;
  [[nodiscard]] bool IsMultipart() const { return Type.starts_with("multipart/"); }
};

// Reads a field value (folded lines already joined). Never fails: what cannot be read is skipped
// up to the next ';'.
[[nodiscard]] TContentType ParseContentType(std::string_view value);

// The Content-Type of the header lines [0, headerEnd); an empty type when the field is missing.
[[nodiscard]] TContentType HeaderContentType(const TLineList& lines, size_t headerEnd);

}  // namespace vlm
