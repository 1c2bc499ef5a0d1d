#pragma once
// The file arguments of archive operations. A caller may pass single names, lists of names or
// NULL-terminated arrays of names, in wide or ANSI text; the layer flattens them in order.
#include <string>
#include <variant>
#include <vector>

namespace vlm {

using TFileItem = std::variant<std::wstring,               // one name
                               std::string,                // one name, ANSI text
                               std::vector<std::wstring>,  // every entry, in order
                               std::vector<std::string>,   // every entry, ANSI text
                               const wchar_t* const*,      // NULL-terminated array
                               const char* const*>;        // NULL-terminated array, ANSI text
using TFileItems = std::vector<TFileItem>;

enum class TEmptyNames { Skip, Keep };

// The names of the items, in order. Command lines skip empty names; the file collector keeps
// them so that it can treat them as it treats any other name.
std::vector<std::wstring> FileItemNames(const TFileItems& items,
                                        TEmptyNames empty = TEmptyNames::Skip);

}  // namespace vlm
