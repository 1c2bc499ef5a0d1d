#pragma once
// The compose-window hook on the host's main thread.
namespace vlm {

// Installs the hook on the calling thread, keeping its handle for HookStop.
void HookStart();
// Removes the hook; errors are ignored.
void HookStop();

}  // namespace vlm
