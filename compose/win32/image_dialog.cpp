#include "compose/win32/image_dialog.h"

// Stand-in until the pasted-image dialog is built: the key is taken and the paste ends as if
// the user had cancelled.
namespace vlm {

bool ShowImageDialog(const std::function<void()>& consumeKey, std::wstring&) {
  consumeKey();
  return false;
}

}  // namespace vlm
