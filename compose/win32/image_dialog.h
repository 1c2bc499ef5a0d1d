#pragma once
// The pasted-image dialog as the compose-window hook opens it for Ctrl+V with a bitmap.
#include <functional>
#include <string>

namespace vlm {

// Fills the dialog from the clipboard's bitmap and the settings, then shows it modally.
// `consumeKey` is called just before the dialog shows: from then on the host never sees the key.
// True when the user saved the picture; `fileName` is then its full path, in a work folder of
// its own below the settings form's TempFolder. False when the user cancelled, or when the picture
// could not be measured (the dialog is then released unseen and `consumeKey` is not called, so the
// host pastes as usual).
bool ShowImageDialog(const std::function<void()>& consumeKey, std::wstring& fileName);

}  // namespace vlm
