#include "compose/win32/compose_hook.h"

// The hook is not built yet: drops and pastes go to the host untouched.
namespace vlm {
void HookStart() {}
void HookStop() {}
}  // namespace vlm
