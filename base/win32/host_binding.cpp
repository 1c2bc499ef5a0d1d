#include <windows.h>

#include "base/plugin_state.h"
#include "base/win32/host_binding.h"

namespace vlm {

bool BindHost(TBeckyAPI& api) {
  HMODULE host = GetModuleHandleW(nullptr);
  return api.InitAPI(reinterpret_cast<std::uintptr_t>(host), [host](const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(host, name));
  });
}

}  // namespace vlm
