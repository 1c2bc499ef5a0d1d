#include "archiver/archiver_errors.h"

#include "archiver/archiver_messages.h"

namespace vlm {
ESfxNoRequiredFile::ESfxNoRequiredFile(std::wstring archiverType, std::wstring sfxType,
                                       std::wstring sfxModuleName)
    : EArchiver(archiver_messages::SfxNoRequiredFileMessage(archiverType, sfxType, sfxModuleName)),
      FArchiverType(std::move(archiverType)),
      FSfxType(std::move(sfxType)),
      FSfxModuleName(std::move(sfxModuleName)) {}

}  // namespace vlm
