#pragma once
// The received-mail tools as the host callbacks reach them. A null mail id means the mail the
// user has selected.
#include <windows.h>

#include <cstdint>

#include "base/host_api.h"

namespace vlm {

[[nodiscard]] bool HasWinmailPart(const char* mail);
void ExpandWinmail(const char* mail);
[[nodiscard]] bool CanAddFile(const char* mail);

// Menu command handlers the host calls when the user picks the plug-in's items.
void WINAPI ExpandWinmailCommand(HostWnd window, std::intptr_t param);
void WINAPI AddFileCommand(HostWnd window, std::intptr_t param);

}  // namespace vlm
