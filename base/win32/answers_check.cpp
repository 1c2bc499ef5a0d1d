// The portable answers and box flags are the system's own numbers.
#include <windows.h>

#include "base/answers.h"

namespace vlm {

static_assert(kAnswerOk == IDOK && kAnswerCancel == IDCANCEL);
static_assert(kAnswerYes == IDYES && kAnswerNo == IDNO);
static_assert(kBoxOk == MB_OK && kBoxOkCancel == MB_OKCANCEL);
static_assert(kBoxYesNoCancel == MB_YESNOCANCEL && kBoxYesNo == MB_YESNO);
static_assert(kBoxIconStop == MB_ICONSTOP && kBoxIconWarning == MB_ICONWARNING);
static_assert(kBoxSecondDefault == MB_DEFBUTTON2 && kBoxTopmost == MB_TOPMOST);

}  // namespace vlm
