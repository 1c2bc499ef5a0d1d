#pragma once
// The "Zip" entry of ZIP32J.DLL and LMZIP32.DLL: an Info-ZIP style command line.
//
//   [switches] archive [base-folder\] names...
//
// Switches (single letters may be combined, as in "-ru"): -r recurse into folders, -S store
// hidden and system files, -D no folder members, -j store names without folders, -q no output,
// -u update (add, or replace older members), -f freshen (replace older members only),
// -d delete the named members, -0 store, -1..-9 deflate level (6 by default), -P password
// (next token) for the traditional encryption, -A program (rest of the line): fix the offsets
// of an archive appended to a self-extracting stub. -o -v -k -J -F are accepted and change
// nothing here; any other switch is refused with ERROR_COMMAND_NAME. The base folder is the
// second plain token when it ends with "\" or "/"; names relative to it are stored relative to
// it. Names come through the ZIP name filter ("/" between folders, "[-]" and "[[]" escapes) and
// may be "@response-file". A file that cannot be opened for reading is left out with a warning;
// the archive holds the others and the result is 0x800D (ERROR_FILE_OPEN), as the real DLL
// reports a skipped file.
#include <string>
#include <string_view>

#include "tests/archivers/common/progress.h"

namespace standin {

int RunZip(std::string_view commandLine, ProgressSink& progress, std::string& output);

}  // namespace standin
