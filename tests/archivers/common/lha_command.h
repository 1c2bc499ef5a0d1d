#pragma once
// The "Unlha" entry of UNLHA32.DLL: a console-LHA style command line.
//
//   command [switches] archive [base-folder\] names...
//
// Commands: a (add), u (add, replacing older members), f (replace older members only),
// d (delete), x (extract with folders), e (extract without folders), t (test), l / v (list).
// Switches: -r1 / -r2 recurse into folders, -a1 store hidden and system files found in
// folders, -x0 store and extract names without folders (-x1 and above keep them), -z or -z1
// store without compression (-lh0-; otherwise -lh5-), -m? / -c? / -n? / -p? / -w... / -j... /
// -g... and "-+" are accepted and change nothing here; a switch outside UNLHA32's vocabulary
// is refused with ERROR_COMMAND_NAME. The base folder is the second plain token when it ends
// with "\" or "/"; for extraction it is the destination. Names may be "@response-file".
#include <string>
#include <string_view>
#include <vector>

#include "tests/archivers/common/member_info.h"
#include "tests/archivers/common/progress.h"
#include "tests/archivers/common/zip_format.h"

namespace standin {

int RunUnlha(std::string_view commandLine, ProgressSink& progress, std::string& output);
int ExtractLhaToMemory(std::string_view commandLine, Bytes& content);
std::vector<MemberInfo> ListLha(std::string_view ansiArchive);
// The rapid and basic modes read the headers only; the full-CRC mode also unpacks every member.
bool CheckLha(std::string_view ansiArchive, int mode);

}  // namespace standin
