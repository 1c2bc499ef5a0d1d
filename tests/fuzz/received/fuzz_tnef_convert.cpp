// Any bytes as a winmail.dat: the decoder either writes files or raises its own error, never
// crashes or leaks, and writes nothing but regular files named in ResultFile, inside the folder.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "received/tnef_convert.h"

namespace {

namespace fs = std::filesystem;

// Writing the same large value many times over (a data identifier inside a value is a new
// attachment) only slows the search down; the largest sample is 1.5 MB.
constexpr size_t kMaxInput = 2 * 1024 * 1024;

struct TSandbox {
  fs::path root;
  TSandbox() {
    root = fs::temp_directory_path() / ("velmora-fuzz-tnef-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
  }
  ~TSandbox() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  static TSandbox sandbox;
  static const std::set<std::string> workingFolder = Entries(fs::current_path());
  const fs::path source = sandbox.root / "winmail.dat";
  const fs::path out = sandbox.root / "out";
  {
    std::ofstream file(source, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  fs::create_directory(out);

  std::vector<std::wstring> resultFile;
  try {
    // Small odd-sized inputs are read through a small buffer, so that records fall across its
    // edges; large ones would take too long that way.
    const size_t bufferSize =
        size % 2 == 1 && size < 65536 ? 8 + size % 61 : vlm::TTNEFConvert::kDefaultBufferSize;
    vlm::TTNEFConvert converter(source, bufferSize);
    converter.Convert(resultFile, out);
  } catch (const vlm::ETNEFConvert&) {
  }

  std::set<std::string> named;
  for (const auto& name : resultFile) named.insert(vlm::ToUtf8(name));
  Check(named.size() == resultFile.size());
  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(out)) {
    Check(entry.is_regular_file() && !entry.is_symlink());
    const std::u8string name = entry.path().filename().u8string();
    written.insert(std::string(name.begin(), name.end()));
  }
  Check(written == named);
  Check(Entries(sandbox.root) == std::set<std::string>{"out", "winmail.dat"});
  Check(Entries(fs::current_path()) == workingFolder);
  fs::remove_all(out);
  return 0;
}
