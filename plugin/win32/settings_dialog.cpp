#include "plugin/win32/settings_dialog.h"

namespace vlm {
void ShowSettingsDialog(TForm1&) {}
}  // namespace vlm
