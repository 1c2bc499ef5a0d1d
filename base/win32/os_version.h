#pragma once
// The version of Windows underneath, as the kernel reports it.

namespace vlm {

// True from Windows Vista on (major version 6 and later).
[[nodiscard]] bool IsVistaOrLater();

}  // namespace vlm
