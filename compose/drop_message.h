#pragma once
// One drop (or confirmed paste) being handled: which window it belongs to, whether the host
// still gets the message, and the hand-over of each finished attachment.
#include <string>

#include "base/files.h"
#include "compose/drop_services.h"
#include "compose/drop_settings.h"

namespace vlm {

class DropMessage {
 public:
  // `messageId` is the id in the message record the hook received; consuming rewrites it.
  DropMessage(const DropSettings& settings, DropServices& services, unsigned& messageId)
      : settings_(settings), services_(services), messageId_(messageId) {}

  const DropSettings& Settings() const { return settings_; }
  DropServices& Services() { return services_; }

  // The message belongs to the host's main window: the first delivered item opens a new compose
  // window, which then receives the later items.
  bool FromMainWindow = false;
  HostWnd ComposeWindow = nullptr;

  // The host will not see the message (its id becomes WM_NULL); it stays so for the whole drop.
  void Consume();
  bool Consumed() const { return consumed_; }

  // The window whose status line tells what the plug-in is doing.
  HostWnd StatusWindow() const { return FromMainWindow ? settings_.B2OhWnd : ComposeWindow; }

  // Gives one finished file to the host with its body text (empty: none).
  void DeliverAttachment(const std::wstring& path, const std::wstring& body);

  // A name for a copy in the host's temporary folder that no earlier copy of this drop has:
  // `name`, or "name (2).ext" and so on. Two dropped files may have the same nearest name, and
  // the second copy must not replace the first, which the host already holds.
  std::wstring UnusedCopyName(const std::wstring& name);

 private:
  const DropSettings& settings_;
  DropServices& services_;
  unsigned& messageId_;
  bool consumed_ = false;
  TNameClaim copyNames_;
};

}  // namespace vlm
