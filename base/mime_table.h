#pragma once
// The MIME-type table: string resources 101 to 745 of the module, one row each,
// ".ext type" (extension with its dot in lower case, one space, the type).
#include <functional>
#include <optional>
#include <string>

namespace vlm {

inline constexpr int kMimeTableFirstId = 101;
inline constexpr int kMimeTableLastId = 745;

// Loads the row with the given id; empty when there is none.
using TMimeRowLoader = std::function<std::wstring(int id)>;

// The type of the first row whose extension equals `extension` (letters A to Z lowered), at most
// 255 characters; "text/plain" when no row matches, the empty extension included.
std::wstring LookupMimeType(std::wstring extension, const TMimeRowLoader& loadRow);
// The same lookup, but nothing when no row matches: received attachments then take a type of
// their own instead of "text/plain".
std::optional<std::wstring> FindMimeType(std::wstring extension, const TMimeRowLoader& loadRow);

}  // namespace vlm
