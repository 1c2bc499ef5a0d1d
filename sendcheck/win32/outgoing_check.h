#pragma once
namespace vlm {
// The questions before a send, asked with the settings of the moment on the real message boxes:
// 0 to send, -1 to cancel.
int CheckOutgoingMessage(const char* message);
}  // namespace vlm
