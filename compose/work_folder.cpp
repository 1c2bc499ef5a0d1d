#include "compose/work_folder.h"

#include "base/code_page_copy.h"
#include "base/files.h"
#include "base/path.h"

namespace vlm {
namespace {

// Beyond this many folders something else is wrong (a folder that cannot be written to).
constexpr unsigned kMostFolders = 100000;

}  // namespace

TWorkFolder::TWorkFolder(const std::wstring& tempFolder) {
  const std::wstring parent = JoinPath(tempFolder, L"Velmora");
  if (!MakeFolder(parent).empty()) throw CannotCreateFile(parent);
  for (unsigned number = 1; number <= kMostFolders; ++number) {
    const std::wstring candidate = JoinPath(parent, std::to_wstring(number));
    if (CreateNewFolder(candidate)) {
      path_ = candidate;
      return;
    }
    if (!AnythingNamed(candidate)) break;  // not taken, and yet it cannot be made
  }
  throw CannotCreateFile(parent);
}

TWorkFolder::~TWorkFolder() {
  if (!kept_) RemoveTree(path_);
}

}  // namespace vlm
