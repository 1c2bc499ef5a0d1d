#include "compose/dropped_item.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "compose/archive_password.h"
#include "compose/attachment_listing.h"
#include "compose/code_page_copies.h"
#include "compose/drop_questions.h"
#include "base/path.h"
#include "compose/size_rule.h"
#include "base/code_page_name.h"
#include "base/extension_lists.h"
#include "base/format_size.h"

namespace vlm {
namespace {

// The archive format selected in the settings.
struct ArchiveFormat {
  TArchiverType kind;
  std::wstring extension;
  std::wstring name;
};

ArchiveFormat SelectedFormat(const DropSettings& settings) {
  if (settings.ArchiveType == 0) return {atLha, L".lzh", L"LHA"};
  return {atZip, L".zip", L"ZIP"};
}

std::wstring WithUnderscore(const std::wstring& extension) {
  return extension == L".lzh" ? L".lz_h" : L".zi_p";
}

// What the size questions decided.
enum class SizeVerdict { Continue, Compress, AttachAsIs, Skip, End };

int Ask(DropServices& services, const DropQuestion& question) {
  return services.Ask(question.text, question.caption, question.flags);
}

SizeVerdict ApplySizeRule(const std::wstring& path, DropMessage& message) {
  const DropSettings& settings = message.Settings();
  DropServices& services = message.Services();
  const bool isFolder = services.IsFolder(path);
  const std::int64_t size = isFolder ? services.FolderSize(path) : services.FileSize(path);
  const std::wstring& thresholdText = settings.OverSize;
  const double threshold = OverSizeThreshold(thresholdText, services.DecimalSeparator());
  if (!IsLargeItem(size, threshold)) return SizeVerdict::Continue;
  if (services.HostPartialSending()) return SizeVerdict::Continue;

  const std::wstring name = FileNamePart(path);
  const std::wstring sizeText = FormatSize(size);
  const std::wstring format = SelectedFormat(settings).name;
  const std::wstring extension = LowerExtension(path);
  // A folder named like an archive is still a folder: it is never handed to the host as a file,
  // so it gets the folder question, whose "OK" packs it.
  if (!isFolder && (extension == L".zip" || extension == L".lzh")) {
    // Already an archive: it goes as it is, or not at all. "OK" attaches it here rather than
    // leaving it to the host, which would drop it whenever another item of the same drop has
    // made the plug-in take the message over.
    if (Ask(services, ArchiveSizeQuestion(name, thresholdText, sizeText)) == kAnswerCancel) {
      message.Consume();
      return SizeVerdict::End;
    }
    return SizeVerdict::AttachAsIs;
  }
  if (isFolder) {
    if (Ask(services, FolderSizeQuestion(name, thresholdText, sizeText, format)) == kAnswerOk)
      return SizeVerdict::Compress;
    message.Consume();
    return SizeVerdict::Skip;
  }
  switch (Ask(services, FileSizeQuestion(name, thresholdText, sizeText, format))) {
    case kAnswerYes:
      return SizeVerdict::Continue;
    case kAnswerNo:
      return SizeVerdict::Compress;
    default:
      message.Consume();
      return SizeVerdict::Skip;
  }
}

ItemOutcome AttachUnchanged(const std::wstring& itemPath, DropMessage& message) {
  // The host takes code-page paths: a name it cannot hold goes as a copy in its temporary
  // folder under the nearest name it can.
  std::wstring path = itemPath;
  if (!FitsCodePage(path)) {
    path = message.Settings().TempFolder +
           message.UnusedCopyName(NearestCodePageName(FileNamePart(itemPath)));
    if (!CopyUnderCodePageNames(itemPath, path, message)) return ItemOutcome::Skipped;
  }
  std::wstring body;
  if (message.Settings().WriteFileName)
    body = UnchangedListing(message.Settings().WriteWord, FileNamePart(path),
                            message.Services().FileSize(path));
  message.DeliverAttachment(path, body);
  return ItemOutcome::Delivered;
}

// Restores the current directory an archiver may change while it packs a folder.
class CurrentDirectoryKeeper {
 public:
  explicit CurrentDirectoryKeeper(DropServices& services)
      : services_(services), saved_(services.CurrentDirectory()) {}
  ~CurrentDirectoryKeeper() {
    try {
      services_.ChangeDirectory(saved_);
    } catch (...) {
      // The folder may have gone; the packing's own outcome matters more.
    }
  }
  CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
  CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

 private:
  DropServices& services_;
  std::wstring saved_;
};

// Sets up the archive component and packs one item into `archivePath`; the archiver's result
// code. Throws when the archiver is missing or cannot run.
int Pack(const std::wstring& path, bool isFolder, const std::wstring& archivePath,
         TArchiverType kind, const std::wstring& userOptions, DropServices& services) {
  DropArchive& archive = services.Archive();
  archive.SetFileName(archivePath);
  archive.SetArchiverType(kind);
  TArchiverOptions& options = archive.Options();
  options.x = 0;
  options.r = 0;
  options.jso = 1;
  archive.SetOutputSize(8192);
  options.n = 1;
  options.UserOptions = L"";
  std::wstring baseFolder;
  std::wstring packedName = path;
  std::optional<CurrentDirectoryKeeper> keeper;
  if (isFolder) {
    options.x = 1;
    options.r = 2;
    options.a = 1;
    options.n = 0;
    options.IncludeExtraStreams = true;
    // The folder goes in under its own name, with its parent as the base.
    baseFolder = FolderPart(path);
    packedName = FileNamePart(path);
    keeper.emplace(services);
  }
  options.UserOptions = userOptions;
  const int result = archive.PackFiles({packedName}, baseFolder);
  // The component keeps its options from one archive to the next.
  options.IncludeExtraStreams = true;
  return result;
}

ItemOutcome Compress(const std::wstring& path, bool compressChosen, DropMessage& message) {
  const DropSettings& settings = message.Settings();
  DropServices& services = message.Services();
  const bool isFolder = services.IsFolder(path);
  ArchiveFormat format = SelectedFormat(settings);
  const std::wstring name = FileNamePart(path);
  // The name the item goes into the archive under, and the archive's own name, fit the code page.
  const std::wstring packedName = NearestCodePageName(name);

  if (settings.FileNameChange && Ask(services, UnderscoreQuestion()) == kAnswerYes)
    format.extension = WithUnderscore(format.extension);
  if (!settings.ArchiveCheck && !isFolder && !compressChosen) {
    switch (Ask(services, OutlookQuestion(name, format.name))) {
      case kAnswerYes:
        return AttachUnchanged(path, message);
      case kAnswerNo:
        break;
      default:
        message.Consume();
        return ItemOutcome::Skipped;
    }
  }
  message.Consume();

  std::wstring userOptions;
  if (settings.CheckPassword && format.kind == atZip &&
      Ask(services, PasswordQuestion()) == kAnswerYes) {
    const std::wstring password = services.AskPassword();
    if (const std::wstring problem = PasswordProblem(password); !problem.empty()) {
      // Packing without the password the user asked for would send the file unprotected.
      Ask(services, NoPasswordNotice(name, problem));
      return ItemOutcome::Skipped;
    }
    userOptions = PasswordSwitch(password);
  }

  services.SetMessageText(message.StatusWindow(), L"「" + format.name + L"」に圧縮しています。");
  const std::wstring archivePath =
      settings.TempFolder + ChangeExtension(packedName, format.extension);
  // The archiver would add to an old archive it finds, and send its stale members along; an old
  // archive that stays would later pass for the new one.
  if (services.FileExists(archivePath) && !services.RemoveFile(archivePath)) {
    Ask(services, PackingFailedNotice(name, format.name, 0));
    services.SetMessageText(message.StatusWindow(), L"");
    return ItemOutcome::Skipped;
  }
  services.RefreshTempFolder();

  std::optional<StagingFolder> staging;
  std::wstring source = path;
  if (NeedsStaging(path, isFolder, services)) {
    staging.emplace(services, settings.TempFolder);
    source = staging->Path() + L"\\" + packedName;
    if (!CopyUnderCodePageNames(path, source, message)) {
      services.SetMessageText(message.StatusWindow(), L"");
      return ItemOutcome::Skipped;
    }
  }

  int result = 0;
  try {
    result = Pack(source, isFolder, archivePath, format.kind, userOptions, services);
  } catch (...) {
    Ask(services, MissingArchiverNotice());
    services.StartArchiverInstaller();
    return ItemOutcome::EndMessage;
  }
  staging.reset();
  // A missing archive is never replaced by the file itself behind the user's back. The archivers
  // also return codes for warnings (a file skipped) while writing a usable archive: an archive
  // that exists is attached, and the code is reported once it is.
  if (!services.FileExists(archivePath)) {
    Ask(services, PackingFailedNotice(name, format.name, result));
    services.SetMessageText(message.StatusWindow(), L"");
    return ItemOutcome::Skipped;
  }

  std::wstring body;
  if (settings.WriteFileName) {
    const std::int64_t before = isFolder ? services.FolderSize(path) : services.FileSize(path);
    body = CompressedListing(settings.WriteWord, packedName, FileNamePart(archivePath), before,
                             services.FileSize(archivePath));
  }
  services.PauseWithMessages(100);
  message.DeliverAttachment(archivePath, body);
  if (result != 0) Ask(services, PackingWarningNotice(name, format.name, result));
  return ItemOutcome::Delivered;
}

}  // namespace

ItemOutcome ProcessDroppedItem(const std::wstring& itemPath, DropMessage& message) {
  const DropSettings& settings = message.Settings();
  DropServices& services = message.Services();
  if (services.IsFolder(itemPath) && FileNamePart(itemPath).empty()) {
    // A drive root has no name to pack it under, and scanning it whole could take hours.
    message.Consume();
    Ask(services, RootFolderNotice(itemPath));
    return ItemOutcome::Skipped;
  }

  bool compressChosen = false;
  if (settings.OverSizeCheck && !settings.ArchiveCheck) {
    switch (ApplySizeRule(itemPath, message)) {
      case SizeVerdict::Continue:
        break;
      case SizeVerdict::Compress:
        compressChosen = true;
        break;
      case SizeVerdict::AttachAsIs:
        return AttachUnchanged(itemPath, message);
      case SizeVerdict::Skip:
        return ItemOutcome::Skipped;
      case SizeVerdict::End:
        return ItemOutcome::EndMessage;
    }
  }

  const bool blocked = ListContains(OutlookBlockedExtensions, LowerExtension(itemPath));
  if (blocked || settings.ArchiveCheck || services.IsFolder(itemPath) || compressChosen)
    return Compress(itemPath, compressChosen, message);
  return AttachUnchanged(itemPath, message);
}

}  // namespace vlm
