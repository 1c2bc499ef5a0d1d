#pragma once
// One drop (or confirmed paste) being handled: which window it belongs to, whether the host
// still gets the message, and the hand-over of each finished attachment.
#include <string>

#include "base/files.h"
#include "compose/drop_services.h"
#include "compose/drop_settings.h"

namespace vlm {

class TDropMessage {
 public:
  // `messageId` is the id in the message record the hook received; consuming rewrites it.
  TDropMessage(const TDropSettings& settings, TDropServices& services, unsigned& messageId)
      : settings_(settings), services_(services), messageId_(messageId) {}

  const TDropSettings& Settings() const { return settings_; }
  TDropServices& Services() { return services_; }

  // The message belongs to the host's main window: the first delivered item opens a new compose
  // window, which then receives the later items.
  bool FromMainWindow = false;
  HostWnd ComposeWindow = nullptr;

  // The host will not see the message (its id becomes WM_NULL); it stays so for the whole drop.
  void Consume();
  bool Consumed() const { return consumed_; }

  // The window whose status line tells what the plug-in is doing.
  HostWnd StatusWindow() const { return FromMainWindow ? settings_.B2OhWnd : ComposeWindow; }

  // Gives one finished file to the host with its body text (empty: none). False when the host
  // opened no compose window for it: a box then names the file, which is not attached.
  bool DeliverAttachment(const std::wstring& path, const std::wstring& body);

  // A name for an attachment of this drop that no earlier attachment of it has, compared as the
  // file system compares names: `name`, or "name (2).ext" and so on. "résumé.txt" and
  // "resume.txt" dropped together would otherwise reach the recipient as two "resume.txt".
  std::wstring ClaimAttachmentName(const std::wstring& name);

 private:
  const TDropSettings& settings_;
  TDropServices& services_;
  unsigned& messageId_;
  bool consumed_ = false;
  TNameClaim attachmentNames_;
};

}  // namespace vlm
