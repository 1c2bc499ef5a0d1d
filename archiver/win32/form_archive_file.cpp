#include "archiver/win32/form_archive_file.h"

namespace vlm {

std::unique_ptr<TArchiveFile> CreateFormArchiveFile() {
  auto archive = std::make_unique<TArchiveFile>();
  archive->SetFileName(L" ");
  archive->SetOutputSize(0);
  archive->SetArchiverType(atAutoDetect);
  TArchiverOptions& options = archive->Options();
  for (std::wstring* value : {&options.w, &options.jo, &options.job, &options.jz, &options.gr,
                              &options.gyd, &options.gye, &options.gyt, &options.gyw}) {
    *value = L"-1";
  }
  options.x = 0;
  options.jyc = -1;
  options.ResFileUsage = {ruOnPack, ruOnUnpack, ruOnRemoveItem};
  options.IncludeExtraStreams = false;
  options.StreamSeparator = L";#";
  return archive;
}

}  // namespace vlm
