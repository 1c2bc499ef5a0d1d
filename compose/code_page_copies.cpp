#include "compose/code_page_copies.h"

#include "base/code_page_copy.h"
#include "base/code_page_name.h"
#include "base/path.h"
#include "compose/drop_questions.h"

namespace vlm {

bool CopyUnderCodePageNames(const std::wstring& path, const std::wstring& target,
                            TDropMessage& message) {
  const std::wstring problem = vlm::CopyUnderCodePageNames(path, target);
  if (problem.empty()) return true;
  message.Consume();
  const TDropQuestion notice = CodePageCopyNotice(FileNamePart(path), problem);
  message.Services().Ask(notice.text, notice.caption, notice.flags);
  return false;
}

bool NeedsStaging(const std::wstring& path, bool isFolder) {
  return !FitsCodePage(path) || (isFolder && !NamesBelowFitCodePage(path));
}

TStagingFolder::TStagingFolder(const std::wstring& workFolder)
    : path_(JoinPath(workFolder, L"staging")) {}

TStagingFolder::~TStagingFolder() {
  RemoveTree(path_);
}

}  // namespace vlm
