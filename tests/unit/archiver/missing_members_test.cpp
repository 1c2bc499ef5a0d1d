// The files an archive lacks after packing, however the archiver stored their names.
#include <gtest/gtest.h>

#include "archiver/missing_members.h"

namespace vlm {
namespace {

TEST(MissingMembers, ComparesPathsAsTheFileSystemDoesWhateverTheSeparator) {
  struct Case {
    const char* name;
    std::vector<std::wstring> packed;
    std::vector<std::wstring> listed;
    std::vector<std::wstring> missing;
  } cases[] = {
      {"all there, either separator",
       {L"docs\\a.txt", L"docs\\sub\\b.txt"},
       {L"docs/a.txt", L"docs\\sub\\b.txt", L"docs/", L"docs/sub/"},
       {}},
      {"left out by the archiver",
       {L"docs\\a.txt", L"docs\\aux.c", L"docs\\trail.", L"docs\\blank "},
       {L"docs/a.txt"},
       {L"docs\\aux.c", L"docs\\trail.", L"docs\\blank "}},
      {"letter case beyond ASCII", {L"d\\\u00c4.txt"}, {L"D/\u00e4.TXT"}, {}},
      {"case twins packed as one", {L"d\\A.txt", L"d\\a.txt"}, {L"d/A.txt"}, {L"d\\a.txt"}},
      {"stored without paths", {L"C:\\work\\setup.exe"}, {L"setup.exe"}, {}},
      {"a same-named file elsewhere is no stand-in",
       {L"docs\\x\\n.txt", L"docs\\y\\n.txt"},
       {L"docs/x/n.txt"},
       {L"docs\\y\\n.txt"}},
      {"named from the current folder", {L".\\-wx\\a.txt"}, {L"-wx/a.txt"}, {}},
      {"nothing listed", {L"a.txt"}, {}, {L"a.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MissingMembers(c.packed, c.listed), c.missing);
  }
}

}  // namespace
}  // namespace vlm
