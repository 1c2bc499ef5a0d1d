#pragma once
namespace vlm {
// The questions before a send, on the real message boxes: 0 to send, -1 to cancel.
int RunSendChecks(const char* message);
}  // namespace vlm
