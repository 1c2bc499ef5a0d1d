#include <gtest/gtest.h>

#include "base/version.h"

TEST(ParseFileVersion, FourPartsGiveBothStrings) {
  const auto v = vlm::ParseFileVersion(L"1.0.0.9");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Major, 1u);
  EXPECT_EQ(v->Minor, 0u);
  EXPECT_EQ(v->Revision, 0u);
  EXPECT_EQ(v->Build, 9u);
  EXPECT_EQ(v->VersionString1, L"1.009");
  EXPECT_EQ(v->VersionString2, L"1.0.0.9");
  EXPECT_EQ(vlm::ParseFileVersion(L"1.0.0.0")->VersionString1, L"1.000");
  EXPECT_EQ(vlm::ParseFileVersion(L"2.10.3.45")->VersionString1, L"2.10345");
}

TEST(ParseFileVersion, OtherShapesAreRefused) {
  for (const wchar_t* bad : {L"", L"1.0.0", L"1.0.0.9.1", L"1.0.a.9", L"1..0.9", L"1.0.0.-9"})
    EXPECT_FALSE(vlm::ParseFileVersion(bad)) << bad;
}
