#include "compose/drop_message.h"

namespace vlm {

void DropMessage::Consume() {
  messageId_ = 0;  // WM_NULL
  consumed_ = true;
}

void DropMessage::DeliverAttachment(const std::wstring& path, const std::wstring& body) {
  Consume();
  if (FromMainWindow) {
    ComposeWindow = services_.ComposeMail(body, path);
    services_.SetMessageText(form_.B2OhWnd, L"");
    // Without a window the next item asks the host for one again, rather than attaching to none.
    FromMainWindow = ComposeWindow == nullptr;
  } else {
    services_.CompAttachFile(ComposeWindow, body, path);
    services_.SetMessageText(ComposeWindow, L"");
  }
}

}  // namespace vlm
