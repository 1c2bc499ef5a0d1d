#pragma once
// Copies of files whose names the code page cannot hold, made where the host and the archiver
// libraries can reach them by code-page paths.
#include <string>

namespace vlm {

// Every name below the folder fits the code page; linked folders are not entered.
bool NamesBelowFitCodePage(const std::wstring& folder);

// Copies the file or folder `source` to `target`, replacing a file there (never a folder) and
// making the target's folder when it is missing. Inside a folder every name becomes its nearest
// code-page name (numbered where two meet); linked folders are not entered. No copy keeps the
// read-only bit. Empty when done; otherwise why not, naming the file that failed, and nothing is
// left at `target`.
std::wstring CopyUnderCodePageNames(const std::wstring& source, const std::wstring& target);

// Removes a file or a folder with everything in it (a linked folder as a link only); what
// cannot be removed stays.
void RemoveTree(const std::wstring& path);

}  // namespace vlm
