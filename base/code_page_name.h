#pragma once
// File names for the code page the host and the archiver libraries speak (932). Windows names
// are Unicode; a name the code page cannot hold reaches them as a different path that does not
// exist, so such a file goes to them as a copy under the nearest name the code page holds.
#include <string>
#include <string_view>

namespace vlm {

// Every character of `path` has an exact form in the code page.
[[nodiscard]] bool FitsCodePage(std::wstring_view path);

// The nearest name the code page holds for one file-name component: the system's best-fit
// conversion, then "_" for whatever is still left over or cannot stand in a file name (a
// best-fit "?", or "¥" turned into "\" by code page 932). A name that fits comes back unchanged;
// the result is never empty.
[[nodiscard]] std::wstring NearestCodePageName(std::wstring_view name);

// The `number`-th name for a file whose name is already taken in its folder: "name (2).ext".
[[nodiscard]] std::wstring NumberedName(std::wstring_view name, int number);

}  // namespace vlm
