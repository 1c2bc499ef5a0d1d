// tnef_decode <winmail.dat> <folder>: writes the attachments into the folder, then prints how many
// files were written and the peak resident memory of the process in kilobytes.
#include <sys/resource.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "received/tnef_convert.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tnef_decode <winmail.dat> <folder>\n");
    return 2;
  }
  std::vector<std::wstring> written;
  try {
    vlm::TTNEFConvert converter(argv[1]);
    converter.Convert(written, argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tnef_decode: %s\n", e.what());
    return 1;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("files=%zu maxrss_kb=%ld\n", written.size(), usage.ru_maxrss);
  return 0;
}
