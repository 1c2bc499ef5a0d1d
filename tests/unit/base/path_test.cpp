// Path parts: "\", "/" and ":" end a folder part, the extension runs from the last dot of the
// last component.
#include <gtest/gtest.h>

#include "base/ansi_text.h"
#include "base/path.h"

namespace vlm {
namespace {

TEST(PathTest, PartsSplitAtEitherSeparatorAndColonWithTheLastExtension) {
  struct Case {
    std::wstring path, name, extension, zipped, folder;
  } cases[] = {
      {L"C:\\work\\report.pdf", L"report.pdf", L".pdf", L"C:\\work\\report.zip", L"C:\\work"},
      {L"C:\\work\\report.tar.gz", L"report.tar.gz", L".gz", L"C:\\work\\report.tar.zip",
       L"C:\\work"},
      {L"C:\\work\\Makefile", L"Makefile", L"", L"C:\\work\\Makefile.zip", L"C:\\work"},
      {L"C:\\my.dir\\Makefile", L"Makefile", L"", L"C:\\my.dir\\Makefile.zip", L"C:\\my.dir"},
      {L"C:\\p\\Photos.ZIP", L"Photos.ZIP", L".zip", L"C:\\p\\Photos.zip", L"C:\\p"},
      {L"C:\\work\\docs", L"docs", L"", L"C:\\work\\docs.zip", L"C:\\work"},
      {L"C:\\", L"", L"", L"C:\\.zip", L"C:\\"},
      {L"D:\\Photos", L"Photos", L"", L"D:\\Photos.zip", L"D:\\"},  // not "D:", D's current folder
      {L"\\\\server\\share\\docs", L"docs", L"", L"\\\\server\\share\\docs.zip",
       L"\\\\server\\share"},
      {L"D:name.txt", L"name.txt", L".txt", L"D:name.zip", L""},
      // Windows reads "/" as "\", and the native build's paths use it.
      {L"C:/work/report.pdf", L"report.pdf", L".pdf", L"C:/work/report.zip", L"C:/work"},
      {L"C:\\my.dir/Makefile", L"Makefile", L"", L"C:\\my.dir/Makefile.zip", L"C:\\my.dir"},
      {L"D:/Photos", L"Photos", L"", L"D:/Photos.zip", L"D:/"},
      {L"/tmp/a.b/c", L"c", L"", L"/tmp/a.b/c.zip", L"/tmp/a.b"},
      {L"/tmp/x.7Z", L"x.7Z", L".7z", L"/tmp/x.zip", L"/tmp"},
      {L"report", L"report", L"", L"report.zip", L""},
      {L".hidden", L".hidden", L".hidden", L".zip", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path));
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(LowerExtension(c.path), c.extension);
    EXPECT_EQ(ChangeExtension(c.path, L".zip"), c.zipped);
    EXPECT_EQ(FolderPart(c.path), c.folder);
  }
}

TEST(PathTest, FileExtensionKeepsItsCase) {
  EXPECT_EQ(FileExtension(L"C:\\p\\Photos.ZIP"), L".ZIP");
  EXPECT_EQ(FileExtension(L"C:\\my.dir\\Makefile"), L"");
  EXPECT_EQ(FileExtension(L"a.Tar.Gz"), L".Gz");
}

TEST(PathTest, JoinAddsTheSeparatorOnlyWhereOneIsMissing) {
#ifdef _WIN32
  const std::wstring sep = L"\\";
#else
  const std::wstring sep = L"/";
#endif
  struct Case {
    std::wstring folder, name, joined;
  } cases[] = {
      {L"C:\\out", L"a.exe", L"C:\\out" + sep + L"a.exe"},
      {L"C:\\out\\", L"a.exe", L"C:\\out\\a.exe"},
      {L"/tmp/", L"a.exe", L"/tmp/a.exe"},
      {L"", L"a.exe", L"a.exe"},
      {L"docs", L"*.*", L"docs" + sep + L"*.*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.folder));
    EXPECT_EQ(JoinPath(c.folder, c.name), c.joined);
  }
}

}  // namespace
}  // namespace vlm
