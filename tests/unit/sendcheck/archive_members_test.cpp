#include "sendcheck/archive_members.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "base/ansi_text.h"
#include "sendcheck/archive_contents.h"
#include "tests/support/little_endian.h"
#include "tests/unit/sendcheck/archive_fixtures.h"

namespace vlm {
namespace {

using test::TArchiveFixtures;

TArchiveBytes View(const std::string& bytes) {
  return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

std::string Extension(const std::string& file) {
  return file.substr(file.rfind('.'));
}

TEST(InspectArchive, NamesTheFirstMemberGmailRefuses) {
  struct Case {
    const char* file;
    const char* refused;  // UTF-8; empty for a clean archive
  };
  const Case cases[] = {
      {"clean.zip", ""},
      {"empty.zip", ""},
      {"macro.zip", "docs/macro.js"},
      {"upper.zip", "SETUP.EXE"},
      {"utf8.zip", "資料/起動.MSI"},
      {"inner.zip", ""},  // an archive inside an open one: Gmail looks into it itself
      {"locked_clean.zip", ""},
      {"locked_inner.zip", "inner.zip"},
      {"big.zip", "run.bat"},
      {"clean.lzh", ""},
      {"level0.lzh", "tool.exe"},
      {"level1.lzh", "tool.exe"},
      {"level2.lzh", "tool.exe"},
  };
  for (const Case& c : cases) {
    const std::string bytes = TArchiveFixtures::Get().Bytes(c.file);
    const TArchiveContents contents =
        InspectArchive(FromUtf8(Extension(c.file)), MemorySource(View(bytes)));
    EXPECT_TRUE(contents.Readable) << c.file;
    EXPECT_EQ(ToUtf8(contents.RefusedMember), c.refused) << c.file;
  }
}

TEST(ZipMembers, ReadsNamesAndTheEncryptionFlag) {
  const auto open = ZipMembers(View(TArchiveFixtures::Get().Bytes("macro.zip")));
  ASSERT_TRUE(open);
  ASSERT_EQ(open->size(), 2u);
  EXPECT_EQ((*open)[0].Name, "docs/readme.txt");
  EXPECT_EQ((*open)[1].Name, "docs/macro.js");
  EXPECT_FALSE((*open)[1].Encrypted);
  const auto locked = ZipMembers(View(TArchiveFixtures::Get().Bytes("locked_inner.zip")));
  ASSERT_TRUE(locked);
  ASSERT_EQ(locked->size(), 1u);
  EXPECT_TRUE((*locked)[0].Encrypted);
}

// Overwrites the little-endian field of `size` bytes at `at`.
void Put(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
  bytes.replace(at, size, test::LittleEndian(value, size));
}
void Put16(std::string& b, std::size_t at, std::uint32_t v) {
  Put(b, at, v, 2);
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  Put(b, at, v, 4);
}

TEST(ZipMembers, ADamagedOrHostileDirectoryIsUnreadable) {
  const std::string good = TArchiveFixtures::Get().Bytes("macro.zip");
  const std::size_t end = good.rfind("PK\x05\x06");
  const std::size_t directory = good.find("PK\x01\x02");
  struct Case {
    const char* name;
    std::function<void(std::string&)> damage;
  };
  const Case cases[] = {
      {"no end record", [&](std::string& b) { b[end + 3] = 0; }},
      {"cut in the end record", [](std::string& b) { b.resize(b.size() - 5); }},
      {"cut in the directory", [&](std::string& b) { b.erase(directory + 10, 30); }},
      {"count beyond the directory", [&](std::string& b) { Put16(b, end + 10, 0xFFFF); }},
      {"count one too many", [&](std::string& b) { Put16(b, end + 10, 3); }},
      {"directory size beyond the record", [&](std::string& b) { Put32(b, end + 12, 0xFFFFFF); }},
      {"offset beyond the bytes", [&](std::string& b) { Put32(b, end + 16, 0xFFFFFFF0); }},
      {"offset into the data", [&](std::string& b) { Put32(b, end + 16, 4); }},
      {"name length beyond the directory",
       [&](std::string& b) { Put16(b, directory + 28, 60000); }},
      {"extra length beyond", [&](std::string& b) { Put16(b, directory + 30, 0xFFFF); }},
      {"nothing", [](std::string& b) { b.clear(); }},
      {"only the end signature", [](std::string& b) { b = "PK\x05\x06"; }},
  };
  for (const Case& c : cases) {
    std::string bytes = good;
    c.damage(bytes);
    EXPECT_FALSE(ZipMembers(View(bytes))) << c.name;
  }
}

TEST(LzhMembers, ADamagedOrHostileHeaderIsUnreadable) {
  const std::string level1 = TArchiveFixtures::Get().Bytes("level1.lzh");
  const std::string level2 = TArchiveFixtures::Get().Bytes("level2.lzh");
  struct Case {
    const char* name;
    std::string bytes;
  };
  const auto changed = [](std::string bytes, std::size_t at, char value) {
    return bytes.replace(at, 1, 1, value);
  };
  const Case cases[] = {
      {"cut in the header", level2.substr(0, 20)},
      {"cut in the data", level2.substr(0, level2.size() - 4)},
      {"not a method", changed(level2, 2, 'x')},
      {"level 3", changed(level2, 20, 3)},
      {"name beyond the header", changed(level1, 21, '\x7F')},
      {"extended header of one byte", changed(changed(level2, 24, 1), 25, 0)},
      {"extended header beyond the header", changed(level2, 24, '\x70')},
      {"packed size beyond the bytes", changed(level1, 10, '\x7F')},
      {"end mark only", std::string(1, '\0')},
      {"nothing", ""},
  };
  for (const Case& c : cases) EXPECT_FALSE(LzhMembers(View(c.bytes))) << c.name;
}

// Every byte of an archive replaced in turn: whatever the reader makes of it, it stays inside.
TEST(ArchiveMembers, SurvivesEveryByteChanged) {
  for (const char* file :
       {"macro.zip", "locked_inner.zip", "level0.lzh", "level1.lzh", "level2.lzh"}) {
    const std::string good = TArchiveFixtures::Get().Bytes(file);
    for (std::size_t at = 0; at < good.size(); ++at)
      for (const char value : {'\0', '\x7F', '\xFF'}) {
        std::string bytes = good;
        bytes[at] = value;
        (void)ZipMembers(View(bytes));
        (void)LzhMembers(View(bytes));
      }
  }
}

}  // namespace
}  // namespace vlm
