#include "received/win32/received_commands.h"

// The received-mail tools are not built yet: nothing is offered and nothing changes.
namespace vlm {

bool HasWinmailPart(const char*) { return false; }
void ExpandWinmail(const char*) {}
bool CanAddFile(const char*) { return false; }
void WINAPI ExpandWinmailCommand(HostWnd, std::intptr_t) {}
void WINAPI AddFileCommand(HostWnd, std::intptr_t) {}

}  // namespace vlm
