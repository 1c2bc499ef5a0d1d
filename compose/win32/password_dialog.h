#pragma once
#include <string>

namespace vlm {

// TForm2, the password dialog: shown modally over the plug-in's application window and freed
// when it closes. Returns the text its field held when it closed, whether by "OK" (which refuses
// an unusable password and stays open) or by the system menu's close button.
std::wstring ShowPasswordDialog();

}  // namespace vlm
