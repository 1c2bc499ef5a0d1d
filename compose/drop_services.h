#pragma once
// What the handling of a drop needs from the system, the host and the archive component. The
// Windows side binds these to message boxes, the file system, the registry and Velmora's own
// exports; tests bind them to fakes.
#include <cstdint>
#include <string>
#include <vector>

#include "archiver/archiver_options.h"
#include "archiver/archiver_types.h"
#include "base/host_api.h"

namespace vlm {

// The settings form's archive component, driven the way the drop handling packs an item.
class DropArchive {
 public:
  virtual ~DropArchive() = default;
  virtual void SetFileName(const std::wstring& fileName) = 0;
  virtual void SetArchiverType(TArchiverType type) = 0;
  virtual TArchiverOptions& Options() = 0;
  virtual void SetOutputSize(int size) = 0;
  // Packs `files` (names relative to `baseDir`, or full paths when it is empty) with the
  // component's own options; the archiver's result code, 0 on success. Throws when the archiver
  // cannot be loaded or run.
  virtual int PackFiles(const std::vector<std::wstring>& files, const std::wstring& baseDir) = 0;
};

class DropServices {
 public:
  virtual ~DropServices() = default;

  // A message box owned by the application window; the standard result.
  virtual int Ask(const std::wstring& text, const std::wstring& caption, unsigned flags) = 0;
  // Shows the password dialog modally; the text its field held when it closed.
  virtual std::wstring AskPassword() = 0;

  virtual bool IsFolder(const std::wstring& path) = 0;
  // Size of a file (or of a folder's own entry); -1 when there is none.
  virtual std::int64_t FileSize(const std::wstring& path) = 0;
  // Bytes of every file below the folder, hidden and system files included, folders whose names
  // begin with "." skipped; 0 when it cannot be searched.
  virtual std::int64_t FolderSize(const std::wstring& path) = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  // False when the file stays (held open by another program, no right to delete it).
  [[nodiscard]] virtual bool RemoveFile(const std::wstring& path) = 0;
  // Names the code page cannot hold (see base/code_page_name.h). True when every name below
  // the folder fits the code page; linked folders are not entered.
  virtual bool NamesBelowFitCodePage(const std::wstring& folder) = 0;
  // Copies the file or folder `source` to `target`, replacing a file there (never a folder) and
  // making the target's folder when it is missing. Inside a folder every name becomes its nearest
  // code-page name (numbered where two meet); linked folders are not entered. No copy keeps the
  // read-only bit. Empty when done; otherwise why not, in the user's words, and nothing is left
  // at `target`.
  virtual std::wstring CopyUnderCodePageNames(const std::wstring& source,
                                              const std::wstring& target) = 0;
  // Removes a file or a folder with everything in it; what cannot be removed stays.
  virtual void RemoveTree(const std::wstring& path) = 0;
  virtual std::wstring CurrentDirectory() = 0;
  virtual void ChangeDirectory(const std::wstring& path) = 0;
  // Lets the user interface breathe for `milliseconds` while pending messages are processed.
  virtual void PauseWithMessages(int milliseconds) = 0;

  // The host splits large messages when it sends them; may throw when its settings are missing.
  virtual bool HostPartialSending() = 0;
  // The decimal separator of the user's locale.
  virtual wchar_t DecimalSeparator() = 0;
  // The settings form's archive component; throws when there is none.
  virtual DropArchive& Archive() = 0;
  // Starts the archiver installer from the plug-in folder, as the settings' caldix button does.
  virtual void StartArchiverInstaller() = 0;

  // The host's compose windows and status line, through Velmora's own exports. ComposeMail gives
  // no window when the host could not open one; nothing was attached then.
  virtual HostWnd ComposeMail(const std::wstring& body, const std::wstring& path) = 0;
  virtual void CompAttachFile(HostWnd window, const std::wstring& body,
                              const std::wstring& path) = 0;
  virtual void SetMessageText(HostWnd window, const std::wstring& text) = 0;
  // Refreshes the settings form's TempFolder from the host.
  virtual void RefreshTempFolder() = 0;
};

}  // namespace vlm
