#pragma once
// The message boxes of the drop handling: texts, captions and flags. Every box shows the warning
// icon and is owned by the plug-in's application window, which keeps it on top.
#include <string>
#include <vector>

#include "base/answers.h"

namespace vlm {

struct TDropQuestion {
  std::wstring text;
  std::wstring caption;
  unsigned flags;  // MB_ buttons | MB_ICONWARNING | MB_DEFBUTTONn
};

// `name` is the item's file-name part, `threshold` the threshold text as the user typed it,
// `size` the item's size as FormatSize writes it, `format` "LHA" or "ZIP".
TDropQuestion ArchiveSizeQuestion(const std::wstring& name, const std::wstring& threshold,
                                  const std::wstring& size);
TDropQuestion FileSizeQuestion(const std::wstring& name, const std::wstring& threshold,
                               const std::wstring& size, const std::wstring& format);
TDropQuestion FolderSizeQuestion(const std::wstring& name, const std::wstring& threshold,
                                 const std::wstring& size, const std::wstring& format);
TDropQuestion UnderscoreQuestion();
TDropQuestion OutlookQuestion(const std::wstring& name, const std::wstring& format);
TDropQuestion PasswordQuestion();
TDropQuestion MissingArchiverNotice();

// Notices for items the plug-in cannot pack; each ends the handling of that item only.
TDropQuestion RootFolderNotice(const std::wstring& path);
TDropQuestion PackingFailedNotice(const std::wstring& name, const std::wstring& format,
                                  int resultCode);
// The archive was written, but the archiver reported `resultCode` (0: none), or the archive
// lacks the files `missing`: it may not hold all the user dropped. Yes attaches it all the same.
TDropQuestion PackingWarningQuestion(const std::wstring& name, const std::wstring& format,
                                     int resultCode, const std::vector<std::wstring>& missing);
TDropQuestion NoPasswordNotice(const std::wstring& name, const std::wstring& problem);
// The item's name (or a folder name inside it) has characters the code page cannot hold, and
// the copy under code-page names failed for `reason`.
TDropQuestion CodePageCopyNotice(const std::wstring& name, const std::wstring& reason);
// The file went while a question about it was up.
TDropQuestion MissingFileNotice(const std::wstring& name);
// The host opened no compose window for a drop on its main window: `name` is not attached.
TDropQuestion NoComposeWindowNotice(const std::wstring& name);
// No work folder could be made in the host's temporary folder, for `reason`.
TDropQuestion WorkFolderNotice(const std::wstring& name, const std::wstring& reason);

}  // namespace vlm
