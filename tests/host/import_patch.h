#pragma once
#include <windows.h>

namespace host {
// Redirects `module`'s import of `dll`!`function` to `replacement`; returns the original address,
// or null when the module does not import it.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);
}  // namespace host
