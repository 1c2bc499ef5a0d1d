#pragma once
// The answers of the recording stand-in archiver, read from a small text file:
//
//   # comment; blank lines are ignored
//   [TAR32.DLL]                 lines below apply to this DLL only ("[*]": to every DLL again)
//   result <entry> <number>     what an entry returns: "main" for the main entry, otherwise the
//                               entry name without prefix ("CheckArchive", "FindFirst",
//                               "OpenArchive" (0 = cannot open), "GetArchiveType", ...);
//                               decimal or 0x hexadecimal, negative allowed
//   output <text>               a line of the main entry's console output
//   member <name>[\t<size>\t<packed size>\t<yyyy-mm-dd hh:mm:ss>\t<attribute>\t<method>]
//                               one member for FindFirst / FindNext, in order
//   progress <state> <source>[\t<destination>]
//                               a progress report the main entry sends to the owner window
//   memory <text>               what ExtractMem writes into the caller's buffer
//   password <text>             FindFirst answers 0x800A until SetDefaultPassword gives this text
//   dialog <number> [<text>]    PasswordDialog's answer and the password it hands back
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/archivers/common/member_info.h"
#include "tests/archivers/common/progress.h"

namespace standin {

struct RecorderScript {
  std::map<std::string, int> results;
  std::string output;
  std::vector<MemberInfo> members;
  std::vector<std::pair<ProgressState, ProgressRecord>> progress;
  std::string memory;
  std::optional<std::string> password;
  int dialogResult = -1;
  std::string dialogPassword;

  int Result(const std::string& entry, int otherwise) const {
    auto found = results.find(entry);
    return found == results.end() ? otherwise : found->second;
  }
};

// dllName picks the sections that apply (compared without regard to case).
RecorderScript ParseRecorderScript(std::string_view text, std::string_view dllName);

}  // namespace standin
