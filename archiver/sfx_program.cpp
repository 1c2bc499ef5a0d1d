#include "archiver/sfx_program.h"

#include "archiver/path_text.h"

namespace vlm {

std::wstring SfxProgramPath(const std::wstring& archiveFileName, std::wstring_view extension,
                            const std::wstring& dstPath) {
  const std::wstring program = ChangeFileExt(archiveFileName, extension);
  return dstPath.empty() ? program : JoinPath(dstPath, ExtractFileName(program));
}

}  // namespace vlm
