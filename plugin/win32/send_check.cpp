#include "plugin/win32/send_check.h"

namespace vlm {
int RunSendChecks(const char*) { return 0; }
}  // namespace vlm
