#pragma once
// The user's side of adding a file: the file-open dialog and the size limit.
#include <optional>
#include <string>

namespace vlm {

// Asks for the file to add, opening in OpenPath, which is then saved to the INI file and emptied
// so later dialogs open where the system likes. Refuses a file over the size limit with a message
// box. The chosen path in the code page, or nothing when the user cancelled or the file was
// refused. A path the code page cannot hold is reported on the status line and refused too.
[[nodiscard]] std::optional<std::string> ChooseFileToAdd();

}  // namespace vlm
