#include "base/host_api.h"
#include "base/text.h"

#include <cstring>
#include <string_view>

namespace vlm {
namespace {

// Character-by-character comparison ignoring letter case; negative when a < b.
int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool HostVersionNeedsSetStatus(const char* version) {
  const std::string_view text = version ? version : "";
  if (text.size() > 7) return true;
  return CompareIgnoringCase(text, "2.00.06") >= 0;
}

}  // namespace vlm

bool TBeckyAPI::InitAPI(std::uintptr_t mainModule, const vlm::THostSymbolResolver& resolve) {
  if (m_hInstBecky != 0) return true;
  if (mainModule < 32) return false;
  m_hInstBecky = mainModule;

  // Every function but SetStatus is required, looked up in declaration order; SetStatus is
  // optional on older hosts and looked up last.
  bool complete = true;
  auto bind = [&](const char* name, auto& field) {
    if (!complete || std::strcmp(name, "BKA_SetStatus") == 0) return;
    field = reinterpret_cast<std::remove_reference_t<decltype(field)>>(resolve(name));
    if (!field) complete = false;
  };
#define VLM_BIND_FIELD(name, result, args) bind("BKA_" #name, name);
  VLM_HOST_FUNCTIONS(VLM_BIND_FIELD)
#undef VLM_BIND_FIELD
  if (!complete) {
    m_hInstBecky = 0;
    return false;
  }
  SetStatus = reinterpret_cast<PSetStatus>(resolve("BKA_SetStatus"));
  const char* version = GetVersion();
  HostVersion = version ? version : "";
  const bool needsSetStatus = vlm::HostVersionNeedsSetStatus(version);
  if (!SetStatus && needsSetStatus) {
    m_hInstBecky = 0;
    return false;
  }
  return true;
}
