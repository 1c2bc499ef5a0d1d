#pragma once
// Velmora.dll itself: its handle, its path and what its resources hold.
#include <windows.h>

#include <optional>
#include <string>

#include "base/version.h"

namespace vlm {

// Full path of Velmora.dll itself, and its file name without the extension.
[[nodiscard]] std::wstring ModulePath();
[[nodiscard]] std::wstring ModuleBaseName();
[[nodiscard]] HMODULE ModuleHandle();

// Fills `version` from the module's "StringFileInfo\041103A4\FileVersion"; leaves it unchanged
// when the resource or the value is missing or not four decimal parts.
void ReadFileVersion(TVersion& version);

// The MIME type for an extension with its dot, from the module's string table.
[[nodiscard]] std::wstring LookupMimeType(const std::wstring& extension);
// The module's MIME table row for the extension; nothing when it has none.
[[nodiscard]] std::optional<std::wstring> FindMimeType(const std::wstring& extension);

}  // namespace vlm
