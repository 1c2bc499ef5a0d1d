#include "archiver/sfx_program.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"
#include "archiver/path_text.h"

namespace vlm {

std::wstring SfxProgramPath(const std::wstring& archiveFileName, std::wstring_view extension,
                            const std::wstring& dstPath) {
  const std::wstring program = ChangeFileExt(archiveFileName, extension);
  return dstPath.empty() ? program : JoinPath(dstPath, ExtractFileName(program));
}

void CheckProgramIsNotArchive(const std::wstring& program, const std::wstring& archiveFileName) {
  if (SameTextAscii(program, archiveFileName)) {
    throw EFileError(archiver_messages::FileMessage(archiver_messages::kCannotCreateFile, program),
                     program);
  }
}

}  // namespace vlm
