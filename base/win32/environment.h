#pragma once
// Probes of the host and the system, launchers and paths used across the plug-in.
#include <windows.h>

#include <cstdint>
#include <string>

#include "plugin/version.h"

namespace vlm {

// Fills `version` from the module's "StringFileInfo\041103A4\FileVersion"; leaves it unchanged
// when the resource or the value is missing or not four decimal parts.
void ReadFileVersion(TVersion& version);

// The host's registry values "Partial" and "ComposeThread" under
// HKCU\Software\RIMArts\B2\Settings, read afresh on every call. A missing or non-integer value is
// false. Throws std::runtime_error("Error: Cannot open registry key.") when the key is missing.
[[nodiscard]] bool HostPartialSending();
[[nodiscard]] bool HostComposeThread();

[[nodiscard]] bool IsVistaOrLater();
// Starts `program` through the shell ("runas" from Vista on); the process handle, or 0.
HANDLE RunElevated(HWND owner, const std::wstring& program, const std::wstring& parameters);
// As RunElevated, then waits for the program; its exit code, or non-zero when it did not start.
DWORD RunElevatedAndWait(HWND owner, const std::wstring& program, const std::wstring& parameters);

// Size of the first entry matching `path` (folders included), or -1.
[[nodiscard]] std::int64_t FileSizeOf(const std::wstring& path);
// The user's desktop directory without a trailing separator; empty when the shell has none.
[[nodiscard]] std::wstring DesktopFolder(HWND owner);
// Full path of Velmora.dll itself, and its file name without the extension.
[[nodiscard]] std::wstring ModulePath();
[[nodiscard]] std::wstring ModuleBaseName();
[[nodiscard]] HMODULE ModuleHandle();

// The MIME type for an extension with its dot, from the module's string table.
[[nodiscard]] std::wstring LookupMimeType(const std::wstring& extension);

}  // namespace vlm
