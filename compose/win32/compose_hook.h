#pragma once
// The compose-window hook on the host's main thread.
namespace vlm {

// Installs the hook on the calling thread and keeps its handle in HookHandle.
void HookStart();
// Removes the hook; errors are ignored.
void HookStop();

}  // namespace vlm
