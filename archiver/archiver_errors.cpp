#include "archiver/archiver_errors.h"

#include "archiver/archiver_messages.h"
#include "archiver/utf8_text.h"

namespace vlm {
EWideMessage::EWideMessage(std::wstring message)
    : std::runtime_error(ToUtf8NoThrow(message)), FMessage(std::move(message)) {}

ESfxNoRequiredFile::ESfxNoRequiredFile(std::wstring archiverType, std::wstring sfxType,
                                       std::wstring sfxModuleName)
    : EArchiver(archiver_messages::SfxNoRequiredFileMessage(archiverType, sfxType, sfxModuleName)),
      FArchiverType(std::move(archiverType)),
      FSfxType(std::move(sfxType)),
      FSfxModuleName(std::move(sfxModuleName)) {}

}  // namespace vlm
