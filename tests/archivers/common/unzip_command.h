#pragma once
// The unpacking side of the ZIP stand-ins (UNZIP32.DLL, LMZIP32.DLL, and the listing entries
// ZIP32J.DLL offers too).
//
//   -x|-t|-l [switches] archive [destination\] members...
//
// -x extracts (the default), -t tests every member, -l lists them into the output. Switches:
// -o overwrite existing files (otherwise they are kept and reported), -j drop the members'
// folders, -P password (next token), --i is accepted and changes nothing; any other switch is
// refused with ERROR_COMMAND_NAME.
// Member names are masks in the ZIP name filter's form ("/" between folders, "[[]" and "[-]").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/archivers/common/member_info.h"
#include "tests/archivers/common/progress.h"
#include "tests/archivers/common/zip_format.h"

namespace standin {

int RunUnzip(std::string_view commandLine, ProgressSink& progress, std::string& output);

// ExtractMem: the first member the command names, into memory. The command is the unpacking
// one without a destination folder.
int ExtractZipToMemory(std::string_view commandLine, Bytes& content);

// Throws ArchiverError when the archive cannot be read.
std::vector<MemberInfo> ListZip(std::string_view ansiArchive);

// The rapid and basic modes (low bits 0 and 1) read the directory only; the full-CRC mode
// (low bits 2) also checks every unencrypted member.
bool CheckZip(std::string_view ansiArchive, int mode);

}  // namespace standin
