#include "compose/code_page_copies.h"

#include "compose/drop_questions.h"
#include "base/path.h"
#include "base/code_page_name.h"

namespace vlm {

bool CopyUnderCodePageNames(const std::wstring& path, const std::wstring& target,
                            DropMessage& message) {
  DropServices& services = message.Services();
  const std::wstring problem = services.CopyUnderCodePageNames(path, target);
  if (problem.empty()) return true;
  message.Consume();
  const DropQuestion notice = CodePageCopyNotice(FileNamePart(path), problem);
  services.Ask(notice.text, notice.caption, notice.flags);
  return false;
}

bool NeedsStaging(const std::wstring& path, bool isFolder, DropServices& services) {
  return !FitsCodePage(path) || (isFolder && !services.NamesBelowFitCodePage(path));
}

StagingFolder::StagingFolder(DropServices& services, const std::wstring& tempFolder)
    : services_(services), path_(tempFolder + L"VelmoraStaging") {
  services_.RemoveTree(path_);
}

StagingFolder::~StagingFolder() {
  services_.RemoveTree(path_);
}

}  // namespace vlm
