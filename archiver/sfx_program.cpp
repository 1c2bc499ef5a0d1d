#include "archiver/sfx_program.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"
#include "base/files.h"
#include "base/path.h"
#include "base/text.h"

namespace vlm {

std::wstring SfxProgramPath(const std::wstring& archiveFileName, std::wstring_view extension,
                            const std::wstring& dstPath) {
  const std::wstring program = ChangeExtension(archiveFileName, extension);
  return dstPath.empty() ? program : JoinPath(dstPath, FileNamePart(program));
}

void CheckProgramIsNotArchive(const std::wstring& program, const std::wstring& archiveFileName) {
  if (EqualsIgnoringAsciiCase(program, archiveFileName)) {
    throw CannotCreateFile(program);
  }
}

}  // namespace vlm
