#pragma once
#include "base/host_api.h"

namespace vlm {
// Binds `api` to the process's main executable, which is the host.
[[nodiscard]] bool BindHost(TBeckyAPI& api);
}  // namespace vlm
