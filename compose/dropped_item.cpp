#include "compose/dropped_item.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "base/code_page_name.h"
#include "base/extension_lists.h"
#include "base/files.h"
#include "base/format_size.h"
#include "base/path.h"
#include "compose/archive_password.h"
#include "compose/attachment_listing.h"
#include "compose/code_page_copies.h"
#include "compose/drop_questions.h"
#include "compose/size_rule.h"
#include "compose/work_folder.h"

namespace vlm {
namespace {

// The archive format selected in the settings.
struct ArchiveFormat {
  TArchiverType kind;
  std::wstring extension;
  std::wstring name;
};

ArchiveFormat SelectedFormat(const TDropSettings& settings) {
  if (settings.ArchiveType == 0) return {atLha, L".lzh", L"LHA"};
  return {atZip, L".zip", L"ZIP"};
}

std::wstring WithUnderscore(const std::wstring& extension) {
  return extension == L".lzh" ? L".lz_h" : L".zi_p";
}

// What is known of a dropped item, read from the file system once. A folder's size is the walk
// of everything below it, made only when a question or a listing needs it.
class TItemFacts {
 public:
  TItemFacts(std::wstring path, TComposeHost& host)
      : path_(std::move(path)),
        name_(FileNamePart(path_)),
        extension_(LowerExtension(path_)),
        folder_(FolderExists(path_)),
        host_(host) {}

  const std::wstring& Path() const { return path_; }
  const std::wstring& Name() const { return name_; }
  const std::wstring& Extension() const { return extension_; }  // lower case, with its dot
  bool IsFolder() const { return folder_; }
  // Bytes of the file, or of every file below the folder; -1 when the file cannot be read.
  std::int64_t Size() {
    if (!size_)
      size_ = folder_ ? FolderSize(path_, [this] { host_.KeepResponsive(); }) : FileSize(path_);
    return *size_;
  }

 private:
  std::wstring path_;
  std::wstring name_;
  std::wstring extension_;
  bool folder_;
  TComposeHost& host_;
  std::optional<std::int64_t> size_;
};

// What the size questions decided.
enum class SizeVerdict { Continue, Compress, AttachAsIs, Skip, End };

int Ask(TDropServices& services, const TDropQuestion& question) {
  return services.Ask(question.text, question.caption, question.flags);
}

SizeVerdict ApplySizeRule(TItemFacts& item, TDropMessage& message) {
  const TDropSettings& settings = message.Settings();
  TDropServices& services = message.Services();
  const bool isFolder = item.IsFolder();
  const std::int64_t size = item.Size();
  const std::wstring& thresholdText = settings.OverSize;
  const double threshold = OverSizeThreshold(thresholdText, settings.DecimalSeparator);
  if (!IsLargeItem(size, threshold)) return SizeVerdict::Continue;
  if (services.Host.PartialSending()) return SizeVerdict::Continue;

  const std::wstring& name = item.Name();
  const std::wstring sizeText = FormatSize(size);
  const std::wstring format = SelectedFormat(settings).name;
  const std::wstring& extension = item.Extension();
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

// A work folder for one item; nothing when none can be made, which the user is then told.
std::optional<TWorkFolder> NewWorkFolder(const std::wstring& tempFolder, const std::wstring& name,
                                         TDropMessage& message) {
  try {
    return std::optional<TWorkFolder>(std::in_place, tempFolder);
  } catch (const EFileError& error) {
    message.Consume();
    Ask(message.Services(), WorkFolderNotice(name, error.Message()));
    return std::nullopt;
  }
}

// Hands `path` to the host as it is, with its listing.
TItemOutcome DeliverUnchanged(const std::wstring& path, TDropMessage& message) {
  std::wstring body;
  if (message.Settings().WriteFileName)
    body = UnchangedListing(message.Settings().WriteWord, FileNamePart(path), FileSize(path));
  return message.DeliverAttachment(path, body) ? TItemOutcome::Delivered : TItemOutcome::Skipped;
}

TItemOutcome AttachUnchanged(TItemFacts& item, TDropMessage& message) {
  // The file may have gone while a question about it was up.
  if (!FileExists(item.Path())) {
    message.Consume();
    Ask(message.Services(), MissingFileNotice(item.Name()));
    return TItemOutcome::Skipped;
  }
  // The host takes code-page paths, and the attachments of one drop have names of their own: a
  // path the code page cannot hold, or a name an earlier attachment has, goes as a copy in a
  // work folder under the nearest free name the code page holds.
  const std::wstring name = message.ClaimAttachmentName(NearestCodePageName(item.Name()));
  if (FitsCodePage(item.Path()) && name == item.Name())
    return DeliverUnchanged(item.Path(), message);
  std::optional<TWorkFolder> work =
      NewWorkFolder(message.Settings().TempFolder, item.Name(), message);
  if (!work) return TItemOutcome::Skipped;
  const std::wstring path = JoinPath(work->Path(), name);
  if (!CopyUnderCodePageNames(item.Path(), path, message)) return TItemOutcome::Skipped;
  const TItemOutcome outcome = DeliverUnchanged(path, message);
  if (outcome == TItemOutcome::Delivered) work->Keep();
  return outcome;
}

// What the archive lacks of what its archiver was handed; a failing listing is no reason to stop
// an archive the archiver called good.
std::vector<std::wstring> MissingFiles(TDropArchive& archive) {
  try {
    return archive.MissingFiles();
  } catch (...) {
    return {};
  }
}

// Restores the current folder an archiver may change while it packs a folder. The folder may
// have gone meanwhile; the packing's own outcome matters more.
class CurrentFolderKeeper {
 public:
  CurrentFolderKeeper() : saved_(CurrentFolder()) {}
  ~CurrentFolderKeeper() { SetCurrentFolder(saved_); }
  CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
  CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

 private:
  std::wstring saved_;
};

// Sets up the archive component and packs one item into `archivePath`; the archiver's result
// code. Throws when the archiver is missing or cannot run.
int Pack(const std::wstring& path, bool isFolder, const std::wstring& archivePath,
         TArchiverType kind, const std::wstring& userOptions, TDropArchive& archive) {
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
  std::optional<CurrentFolderKeeper> keeper;
  if (isFolder) {
    options.x = 1;
    options.r = 2;
    options.a = 1;
    options.n = 0;
    options.IncludeExtraStreams = true;
    // The folder goes in under its own name, with its parent as the base.
    baseFolder = FolderPart(path);
    packedName = FileNamePart(path);
    keeper.emplace();
  }
  options.UserOptions = userOptions;
  const int result = archive.PackFiles({packedName}, baseFolder);
  // The component keeps its options from one archive to the next.
  options.IncludeExtraStreams = true;
  return result;
}

TItemOutcome Compress(TItemFacts& item, bool compressChosen, TDropMessage& message) {
  const TDropSettings& settings = message.Settings();
  TDropServices& services = message.Services();
  TComposeHost& host = services.Host;
  const std::wstring& path = item.Path();
  const bool isFolder = item.IsFolder();
  ArchiveFormat format = SelectedFormat(settings);
  const std::wstring& name = item.Name();
  // The name the item goes into the archive under, and the archive's own name, fit the code page.
  const std::wstring packedName = NearestCodePageName(name);

  if (settings.FileNameChange && Ask(services, UnderscoreQuestion()) == kAnswerYes)
    format.extension = WithUnderscore(format.extension);
  if (!settings.ArchiveCheck && !isFolder && !compressChosen) {
    switch (Ask(services, OutlookQuestion(name, format.name))) {
      case kAnswerYes:
        return AttachUnchanged(item, message);
      case kAnswerNo:
        break;
      default:
        message.Consume();
        return TItemOutcome::Skipped;
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
      return TItemOutcome::Skipped;
    }
    userOptions = PasswordSwitch(password);
  }

  // The archive is made in a folder of its own: the archiver never meets an older archive it
  // would add to, and no other attachment's file is replaced.
  std::optional<TWorkFolder> work = NewWorkFolder(settings.TempFolder, name, message);
  if (!work) return TItemOutcome::Skipped;
  host.SetMessageText(message.StatusWindow(), L"「" + format.name + L"」に圧縮しています。");
  const std::wstring archivePath = JoinPath(
      work->Path(), message.ClaimAttachmentName(ChangeExtension(packedName, format.extension)));
  host.RefreshTempFolder();

  std::optional<TStagingFolder> staging;
  std::wstring source = path;
  if (NeedsStaging(path, isFolder)) {
    staging.emplace(work->Path());
    source = JoinPath(staging->Path(), packedName);
    if (!CopyUnderCodePageNames(path, source, message)) {
      host.SetMessageText(message.StatusWindow(), L"");
      return TItemOutcome::Skipped;
    }
  }

  int result = 0;
  try {
    result = Pack(source, isFolder, archivePath, format.kind, userOptions, services.Archive);
  } catch (...) {
    Ask(services, MissingArchiverNotice());
    services.Archive.StartInstaller();
    return TItemOutcome::EndMessage;
  }
  staging.reset();
  // A missing archive is never replaced by the file itself behind the user's back.
  if (!FileExists(archivePath)) {
    Ask(services, PackingFailedNotice(name, format.name, result));
    host.SetMessageText(message.StatusWindow(), L"");
    return TItemOutcome::Skipped;
  }

  // The archiver also returns codes for warnings (a file it could not open) while writing an
  // archive of the rest, and may leave a file out without a word: such an archive goes only
  // when the user agrees in the box that names what it lacks.
  const std::vector<std::wstring> missing = MissingFiles(services.Archive);
  if ((result != 0 || !missing.empty()) &&
      Ask(services, PackingWarningQuestion(name, format.name, result, missing)) != kAnswerYes) {
    host.SetMessageText(message.StatusWindow(), L"");
    return TItemOutcome::Skipped;
  }
  std::wstring body;
  if (settings.WriteFileName) {
    body = CompressedListing(settings.WriteWord, packedName, FileNamePart(archivePath), item.Size(),
                             FileSize(archivePath));
  }
  host.PauseWithMessages(100);
  if (!message.DeliverAttachment(archivePath, body)) return TItemOutcome::Skipped;
  work->Keep();
  return TItemOutcome::Delivered;
}

}  // namespace

TItemOutcome ProcessDroppedItem(const std::wstring& itemPath, TDropMessage& message) {
  const TDropSettings& settings = message.Settings();
  TDropServices& services = message.Services();
  TItemFacts item(itemPath, services.Host);
  if (item.IsFolder() && item.Name().empty()) {
    // A drive root has no name to pack it under, and scanning it whole could take hours.
    message.Consume();
    Ask(services, RootFolderNotice(itemPath));
    return TItemOutcome::Skipped;
  }

  bool compressChosen = false;
  if (settings.OverSizeCheck && !settings.ArchiveCheck) {
    switch (ApplySizeRule(item, message)) {
      case SizeVerdict::Continue:
        break;
      case SizeVerdict::Compress:
        compressChosen = true;
        break;
      case SizeVerdict::AttachAsIs:
        return AttachUnchanged(item, message);
      case SizeVerdict::Skip:
        return TItemOutcome::Skipped;
      case SizeVerdict::End:
        return TItemOutcome::EndMessage;
    }
  }

  const bool blocked = ListContains(OutlookBlockedExtensions, item.Extension());
  if (blocked || settings.ArchiveCheck || item.IsFolder() || compressChosen)
    return Compress(item, compressChosen, message);
  return AttachUnchanged(item, message);
}

}  // namespace vlm
