#include "archiver/archiver_commands.h"

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"
#include "base/ansi_text.h"

namespace vlm {

namespace msg = archiver_messages;

std::wstring TArchiverCommands::BuildPackCmd(const std::wstring&, const TArchiverOptions&, bool,
                                             const TFileItems&, const std::wstring&) {
  throw EArchiver(msg::kPackNotSupported);
}

std::wstring TArchiverCommands::BuildRemoveItemsCmd(const std::wstring&, const TArchiverOptions&,
                                                    bool, const TFileItems&, const std::wstring&) {
  throw EArchiver(msg::kRemoveNotSupported);
}

std::wstring TArchiverCommands::BuildUpdateArchiveCmd(const std::wstring&, const TArchiverOptions&,
                                                      bool, const TFileItems&,
                                                      const std::wstring&) {
  throw EArchiver(msg::kUpdateNotSupported);
}

std::wstring TArchiverCommands::BuildMakeSfxCmd(const std::wstring&, const TArchiverOptions&,
                                                const std::wstring&) {
  throw EArchiver(msg::kSfxNotSupported);
}

std::wstring TArchiverCommands::BuildUnpackToMemCmd(const std::wstring&, const TArchiverOptions&,
                                                    const std::wstring&) {
  throw EArchiver(msg::kUnpackToMemNotSupported);
}

std::wstring TArchiverCommands::MakeSfx(const std::wstring&, const TArchiverOptions&,
                                        const std::wstring&) {
  throw EArchiver(msg::kSfxNotSupported);
}

std::string CommandLineAnsi(const std::wstring& commandText) {
  return ToAnsi(commandText);
}

}  // namespace vlm
