#include "compose/drop_message.h"

#include "archiver/path_mask.h"
#include "base/code_page_name.h"

namespace vlm {

void DropMessage::Consume() {
  messageId_ = 0;  // WM_NULL
  consumed_ = true;
}

void DropMessage::DeliverAttachment(const std::wstring& path, const std::wstring& body) {
  Consume();
  if (FromMainWindow) {
    ComposeWindow = services_.ComposeMail(body, path);
    services_.SetMessageText(settings_.B2OhWnd, L"");
    // Without a window the next item asks the host for one again, rather than attaching to none.
    FromMainWindow = ComposeWindow == nullptr;
  } else {
    services_.CompAttachFile(ComposeWindow, body, path);
    services_.SetMessageText(ComposeWindow, L"");
  }
}

std::wstring DropMessage::UnusedCopyName(const std::wstring& name) {
  auto folded = [](std::wstring text) {
    for (wchar_t& c : text) c = FoldFileNameChar(c);
    return text;
  };
  std::wstring candidate = name;
  for (int number = 2; !copyNames_.insert(folded(candidate)).second; ++number)
    candidate = NumberedName(name, number);
  return candidate;
}

}  // namespace vlm
