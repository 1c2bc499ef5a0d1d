#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/host_api.h"

namespace {

const char* VLM_STDCALL FakeVersion();
std::string gVersion;
const char* VLM_STDCALL FakeVersion() {
  return gVersion.c_str();
}
void VLM_STDCALL FakeFunction() {}

// A host that exports every function except those named in `missing`, and records lookups.
struct FakeHost {
  std::set<std::string> missing;
  std::vector<std::string> lookups;
  vlm::THostSymbolResolver resolver() {
    return [this](const char* name) -> void* {
      lookups.push_back(name);
      if (missing.count(name)) return nullptr;
      if (std::string(name) == "BKA_GetVersion") return reinterpret_cast<void*>(&FakeVersion);
      return reinterpret_cast<void*>(&FakeFunction);
    };
  }
};

constexpr std::uintptr_t kModule = 0x400000;

struct BindCase {
  const char* version;
  bool hasSetStatus;
  bool binds;
};

TEST(InitAPI, VersionRuleForSetStatus) {
  const BindCase cases[] = {
      {"2.00.05", false, true}, {"2.00.05", true, true},    {"2.00.06", false, false},
      {"2.00.06", true, true},  {"2.00.07", false, false},  {"2.01", false, false},
      {"10.0", false, true},    {"2.00.05a", false, false}, {"2.00.05a", true, true},
      {"2.00.0", false, true},  {"", false, true},          {"2.00.06", false, false},
  };
  for (const auto& c : cases) {
    gVersion = c.version;
    FakeHost host;
    if (!c.hasSetStatus) host.missing.insert("BKA_SetStatus");
    TBeckyAPI api;
    EXPECT_EQ(api.InitAPI(kModule, host.resolver()), c.binds) << c.version << " " << c.hasSetStatus;
    EXPECT_EQ(api.m_hInstBecky, c.binds ? kModule : 0u) << c.version;
  }
}

TEST(InitAPI, LooksUpInDeclarationOrderWithSetStatusLast) {
  gVersion = "2.00.06";
  FakeHost host;
  TBeckyAPI api;
  ASSERT_TRUE(api.InitAPI(kModule, host.resolver()));
  ASSERT_EQ(host.lookups.size(), 55u);
  EXPECT_EQ(host.lookups.front(), "BKA_GetVersion");
  EXPECT_EQ(host.lookups[1], "BKA_Command");
  EXPECT_EQ(host.lookups[20], "BKA_GetStatus");
  EXPECT_EQ(host.lookups[21], "BKA_ComposeMail");
  EXPECT_EQ(host.lookups[53], "BKA_Connect");
  EXPECT_EQ(host.lookups.back(), "BKA_SetStatus");
  EXPECT_NE(api.Connect, nullptr);
  EXPECT_NE(api.SetStatus, nullptr);
}

TEST(InitAPI, AnyMissingRequiredFunctionRefusesAndStopsLooking) {
  for (const char* missing : {"BKA_Connect", "BKA_GetVersion", "BKA_Alloc", "BKA_MIMEHeader"}) {
    gVersion = "2.00.05";
    FakeHost host;
    host.missing.insert(missing);
    TBeckyAPI api;
    EXPECT_FALSE(api.InitAPI(kModule, host.resolver())) << missing;
    EXPECT_EQ(api.m_hInstBecky, 0u);
    EXPECT_EQ(host.lookups.back(), missing) << "lookups go on after a missing name";
  }
}

TEST(InitAPI, SmallModuleHandleRefuses) {
  FakeHost host;
  TBeckyAPI api;
  EXPECT_FALSE(api.InitAPI(31, host.resolver()));
  EXPECT_TRUE(host.lookups.empty());
}

TEST(InitAPI, SecondCallOnBoundObjectLooksNothingUp) {
  gVersion = "2.00.05";
  FakeHost host;
  TBeckyAPI api;
  ASSERT_TRUE(api.InitAPI(kModule, host.resolver()));
  FakeHost second;
  second.missing.insert("BKA_GetVersion");
  EXPECT_TRUE(api.InitAPI(kModule + 1, second.resolver()));
  EXPECT_TRUE(second.lookups.empty());
  EXPECT_EQ(api.m_hInstBecky, kModule);
}

}  // namespace
