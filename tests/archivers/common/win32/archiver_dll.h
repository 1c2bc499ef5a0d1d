#pragma once
// What every stand-in archiver DLL does at its boundary: the owner window and its progress
// messages, the enumeration callback, the call log, the console output buffer, and the
// listing handles of OpenArchive / FindFirst / FindNext. Each DLL links its own copy, so this
// state is per DLL and per process, as in the real archivers.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/archivers/common/member_info.h"
#include "tests/archivers/common/progress.h"
#include "tests/archivers/common/win32/archiver_records.h"
#include "tests/archivers/common/zip_format.h"

namespace standin {

// Appends "<DLL file name>\t<entry>\t<arguments>" and a line end to the file named by the
// environment variable VELMORA_ARCHIVER_LOG, when it is set.
void LogCall(std::string_view entry, std::string_view arguments);

// SetOwnerWindowEx / KillOwnerWindowEx / SetEnumMembersProc64 / ClearEnumMembersProc64.
BOOL RegisterOwner(HWND window, TArchiverProc proc);
BOOL ForgetOwner(HWND window);
BOOL RegisterEnumProc(TEnumMemberProc proc, DWORD structSize);
BOOL ForgetEnumProc();

// Reports progress to the registered owner: its callback when one was given, otherwise the
// registered message "wm_arcextract" (wParam the state, lParam the TExtractingInfoEx), whose
// nonzero answer stops the command. Members about to be packed go to the enumeration callback.
class OwnerProgress : public ProgressSink {
 public:
  bool Report(ProgressState state, const ProgressRecord& record) override;
  bool Enumerate(const ProgressRecord& record) override;
};

using CommandRunner = std::function<int(std::string_view, ProgressSink&, std::string&)>;
// The main entry: logs, runs the command with progress to the owner, and copies the console
// output into the caller's buffer (truncated, always NUL-terminated when the size is not 0).
int RunMainEntry(std::string_view entry, LPCSTR commandLine, LPSTR output, DWORD size,
                 const CommandRunner& run);
void CopyText(const std::string& text, char* buffer, size_t size);

// ExtractMem: one member into the caller's buffer (as much as fits).
using MemoryExtractor = std::function<int(std::string_view, Bytes&)>;
int ExtractMemEntry(std::string_view entry, LPCSTR commandLine, BYTE* buffer, DWORD size,
                    std::uint32_t* time, WORD* attributes, DWORD* written,
                    const MemoryExtractor& extract);

using MemberLister = std::function<std::vector<MemberInfo>(std::string_view archive)>;
HARC OpenListing(std::string_view entry, LPCSTR archive, DWORD mode, const MemberLister& list);
int CloseListing(HARC archive);
// 0 = a member was found, -1 = no more members, otherwise an error code.
int FindFirstMember(HARC archive, LPCSTR mask, TIndivisualInfo* info);
int FindNextMember(HARC archive, TIndivisualInfo* info);
// Times and sizes of the member FindFirst / FindNext found last.
BOOL CurrentWriteTime(HARC archive, FILETIME* time);
BOOL CurrentOriginalSize(HARC archive, LONGLONG* size);
BOOL CurrentCompressedSize(HARC archive, LONGLONG* size);

}  // namespace standin
