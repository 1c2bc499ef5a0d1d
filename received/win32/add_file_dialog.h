#pragma once
// The user's side of adding a file: the file-open dialog and the size limit.
#include <optional>
#include <string>

namespace vlm {

// Asks for the file to add, opening in OpenPath, which is then saved to the INI file and emptied
// so later dialogs open where the system likes. Refuses a file over the size limit with a message
// box. The chosen path in the code page, or nothing when the user cancelled or the file was
// refused. A file whose path the code page cannot hold is given as a copy in the host's temporary
// folder under the nearest name the code page holds; when that copy cannot be made, a box says
// so and nothing is given.
[[nodiscard]] std::optional<std::string> ChooseFileToAdd();

}  // namespace vlm
