// Runs the file collector once over a folder the way a dropped folder is packed (recursive,
// hidden files included, paths relative to the folder's parent) and prints the number of files
// collected. With a from and to date it also filters by write time.
//   collector_bench <parent folder> <folder name> [<from> <to>]
#include <cstdio>
#include <memory>

#include "archiver/file_collector.h"
#include "base/ansi_text.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: collector_bench <parent folder> <folder name> [<from> <to>]\n");
    return 2;
  }
  auto walk = vlm::CreatePosixFileSystemWalk();
  vlm::TArchiverOptions options;
  options.r = 2;
  options.a = 1;
  options.IncludeExtraStreams = false;
  if (argc == 5) {
    options.jo = vlm::FromUtf8(argv[3]);
    options.job = vlm::FromUtf8(argv[4]);
  }
  vlm::TCollectedFiles out;
  vlm::CollectFiles(*walk, options, {vlm::FromUtf8(argv[2])}, vlm::FromUtf8(argv[1]),
                    [](const std::wstring&) { return false; }, out);
  std::printf("%zu\n", out.files.size());
  return 0;
}
