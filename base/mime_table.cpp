#include "base/mime_table.h"
#include "base/text.h"

namespace vlm {

std::optional<std::wstring> FindMimeType(std::wstring extension, const TMimeRowLoader& loadRow) {
  extension = LowerAscii(std::move(extension));
  if (extension.empty()) return std::nullopt;
  for (int id = kMimeTableFirstId; id <= kMimeTableLastId; ++id) {
    const std::wstring row = loadRow(id);
    const size_t space = row.find(L' ');
    if (space == std::wstring::npos) continue;
    if (row.compare(0, space, extension) == 0) return row.substr(space + 1, 255);
  }
  return std::nullopt;
}

std::wstring LookupMimeType(std::wstring extension, const TMimeRowLoader& loadRow) {
  return FindMimeType(std::move(extension), loadRow).value_or(L"text/plain");
}

}  // namespace vlm
