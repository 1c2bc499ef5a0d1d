#include "base/mime_table.h"

namespace vlm {

std::wstring LookupMimeType(std::wstring extension, const MimeRowLoader& loadRow) {
  for (auto& c : extension)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  if (extension.empty()) return L"text/plain";
  for (int id = kMimeTableFirstId; id <= kMimeTableLastId; ++id) {
    const std::wstring row = loadRow(id);
    const size_t space = row.find(L' ');
    if (space == std::wstring::npos) continue;
    if (row.compare(0, space, extension) == 0) return row.substr(space + 1, 255);
  }
  return L"text/plain";
}

}  // namespace vlm
