#pragma once
// The host's own settings in the registry.

namespace vlm {

// The host's registry values "Partial" and "ComposeThread" under
// HKCU\Software\RIMArts\B2\Settings, read afresh on every call. A missing or non-integer value is
// false. Throws std::runtime_error("Error: Cannot open registry key.") when the key is missing.
[[nodiscard]] bool HostPartialSending();
[[nodiscard]] bool HostComposeThread();

}  // namespace vlm
