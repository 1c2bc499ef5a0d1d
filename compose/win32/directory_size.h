#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace vlm {

// Total bytes of the files found under `dir` (a backslash is added unless it ends with one)
// matching `mask` with the search attributes `attributes` (0x1FF: any file, hidden and system
// files included), down into subfolders when `recurse` is set. Folders whose names begin with
// "." are never counted (".", "..", ".git"), nor are linked folders followed. Pending window
// messages are processed for every entry so the host stays responsive. 0 when nothing is found.
std::int64_t GetDirectorySize(const std::wstring& dir, const std::wstring& mask, DWORD attributes,
                              bool recurse);

// Processes the messages waiting in the calling thread's queue. A quit request is put back for
// the host's own loop.
void ProcessPendingMessages();

}  // namespace vlm
