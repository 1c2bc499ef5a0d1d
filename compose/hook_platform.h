#pragma once
// What the compose-window hook needs from the window system: windows, keys, the clipboard, the
// dropped-file list and the pasted-image dialog. Windows binds it to user32 and shell32; tests
// bind it to fakes.
#include <cstdint>
#include <functional>
#include <string>

#include "base/host_api.h"

namespace vlm {

class THookPlatform {
 public:
  virtual ~THookPlatform() = default;
  virtual HostWnd ForegroundWindow() = 0;
  // The key is held down (GetKeyState negative).
  virtual bool IsKeyDown(int virtualKey) = 0;
  virtual bool ClipboardHasBitmap() = 0;
  // `window` is a child of `ancestor` at any depth (not `ancestor` itself).
  virtual bool IsDescendant(HostWnd ancestor, HostWnd window) = 0;
  // The window's class name; empty when the window no longer exists.
  virtual std::wstring ClassName(HostWnd window) = 0;
  virtual unsigned DropItemCount(std::uintptr_t drop) = 0;
  // The full path of item `index` of the drop, as Windows names it (wide).
  virtual std::wstring DropItem(std::uintptr_t drop, unsigned index) = 0;
  // Frees the drop's file list, which the host would have freed had it handled the drop.
  virtual void ReleaseDrop(std::uintptr_t drop) = 0;
  // The pasted-image dialog for the bitmap on the clipboard. Calls `consumeKey` just before the
  // dialog shows; true when the user saved the image, whose full path (in a work folder of its
  // own below the host's temporary folder) is then in `fileName`. False when the dialog was
  // cancelled, or not shown at all because the picture could not be measured (then `consumeKey` was
  // not called).
  virtual bool ShowImageDialog(const std::function<void()>& consumeKey, std::wstring& fileName) = 0;
};

}  // namespace vlm
