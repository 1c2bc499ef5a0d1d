#include "compose/drop_message.h"

namespace vlm {

void DropMessage::Consume() {
  messageId_ = 0;  // WM_NULL
  consumed_ = true;
}

void DropMessage::DeliverAttachment(const std::wstring& path, const std::wstring& body) {
  Consume();
  if (FromMainWindow) {
    ComposeWindow = services_.Host.ComposeMail(body, path);
    services_.Host.SetMessageText(settings_.B2OhWnd, L"");
    // Without a window the next item asks the host for one again, rather than attaching to none.
    FromMainWindow = ComposeWindow == nullptr;
  } else {
    services_.Host.CompAttachFile(ComposeWindow, body, path);
    services_.Host.SetMessageText(ComposeWindow, L"");
  }
}

std::wstring DropMessage::UnusedCopyName(const std::wstring& name) {
  return copyNames_.Claim(name);
}

}  // namespace vlm
