#pragma once
// Answers the message boxes the plug-in shows, from the scenario's queue of answers, and records
// each box: caption, text, the flags read back from the box window, its owner and the answer.
#include <string>

namespace host {

// Answers the boxes shown on the calling thread, from the one queue all threads share; each
// thread that may show a box installs it, and removes it before it ends.
void InstallMessageBoxAnswerer();
void RemoveMessageBoxAnswerer();
// Lets the answerer see the exact flags the plug-in passes to MessageBoxW.
void WatchMessageBoxFlags(void* module);
// "yes", "no", "ok" or "cancel", optionally followed by "deleting <path>": the user deletes
// that file below the work folder while the box is up, then answers; or followed by
// "by keyboard" (a key press passes the thread's message hooks before the answer) or
// "then raise" (the answer is logged and sent, but before the box's message loop takes it a
// window procedure of the host raises an exception of its own from that loop, for the host's
// handler around the plug-in call to take).
void QueueAnswer(const std::string& answer);
int PendingAnswers();
// The next box answered is first saved as a picture at `path`.
void QueueBoxScreenshot(const std::wstring& path);

}  // namespace host
