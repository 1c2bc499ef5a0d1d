#pragma once
#include <string_view>

namespace vlm {

// Archive formats; the ordinals are stored with the settings form and must not move.
enum TArchiverType {
  atLha = 0,
  atZip = 1,
  atCab = 2,
  atArj = 3,
  atTar = 4,
  atTgz = 5,
  atBZ2 = 6,
  atRar = 7,
  atBga = 8,
  atYz1 = 9,
  atGCA = 10,
  atBel = 11,
  at7z = 12,
  atNone = 13,
  atAutoDetect = 14,
};

// The format a file name's extension stands for (case-insensitive). A ".exe" file may be a
// self-extracting archive of any format, so it answers atAutoDetect: the caller then has to look
// at the file's content through the archiver DLLs. Unknown extensions answer atNone.
TArchiverType GuessArchiverTypeByExtension(std::wstring_view fileName);

}  // namespace vlm
