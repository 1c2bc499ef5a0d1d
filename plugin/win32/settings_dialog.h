#pragma once
#include "base/settings_form.h"

namespace vlm {
// Shows the settings dialog modally over the form's values and returns when it closes.
void ShowSettingsDialog(TForm1& form);
}  // namespace vlm
