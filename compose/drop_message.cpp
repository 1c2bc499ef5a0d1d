#include "compose/drop_message.h"

#include "base/path.h"
#include "compose/drop_questions.h"

namespace vlm {

void TDropMessage::Consume() {
  messageId_ = 0;  // WM_NULL
  consumed_ = true;
}

bool TDropMessage::DeliverAttachment(const std::wstring& path, const std::wstring& body) {
  Consume();
  if (!FromMainWindow) {
    services_.Host.CompAttachFile(ComposeWindow, body, path);
    services_.Host.SetMessageText(ComposeWindow, L"");
    return true;
  }
  ComposeWindow = services_.Host.ComposeMail(body, path);
  services_.Host.SetMessageText(settings_.B2OhWnd, L"");
  if (ComposeWindow) {
    FromMainWindow = false;
    return true;
  }
  // Without a window the next item asks the host for one again, rather than attaching to none.
  const TDropQuestion notice = NoComposeWindowNotice(FileNamePart(path));
  services_.Ask(notice.text, notice.caption, notice.flags);
  return false;
}

std::wstring TDropMessage::ClaimAttachmentName(const std::wstring& name) {
  return attachmentNames_.Claim(name);
}

}  // namespace vlm
