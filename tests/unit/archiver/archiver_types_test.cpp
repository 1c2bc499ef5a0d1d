#include <gtest/gtest.h>

#include "archiver/archiver_types.h"
#include "base/ansi_text.h"

namespace vlm {
namespace {

TEST(GuessArchiverType, ByExtensionCaseInsensitive) {
  struct Case {
    const wchar_t* name;
    TArchiverType expected;
  };
  const Case cases[] = {
      {L"C:\\a\\b.lzh", atLha}, {L"B.LZH", atLha},        {L"x.cab", atCab},   {L"x.zip", atZip},
      {L"x.Jar", atZip},        {L"x.ear", atZip},        {L"x.war", atZip},   {L"x.arj", atArj},
      {L"x.rar", atRar},        {L"x.yz1", atYz1},        {L"x.gca", atGCA},   {L"x.gza", atBga},
      {L"x.bza", atBga},        {L"x.bz2", atBZ2},        {L"x.tar", atTar},   {L"x.a", atTar},
      {L"x.lib", atTar},        {L"x.deb", atTar},        {L"x.rpm", atTar},   {L"x.cpio", atTar},
      {L"x.tar.gz", atTgz},     {L"x.Z", atTgz},          {L"x.tgz", atTgz},   {L"x.taz", atTgz},
      {L"x.7z", at7z},          {L"x.EXE", atAutoDetect}, {L"x.txt", atNone},  {L"x", atNone},
      {L"dir.zip\\x", atNone},  {L" ", atNone},           {L"x.zip.", atNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GuessArchiverTypeByExtension(c.name), c.expected) << ToUtf8(c.name);
  }
}

}  // namespace
}  // namespace vlm
