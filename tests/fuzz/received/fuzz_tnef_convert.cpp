// Any bytes as a winmail.dat: the decoder either writes files or raises its own error, never
// crashes or leaks, and writes nothing but regular files named in ResultFile, inside the folder.
// The file mapped and the file read through a buffer give the same outcome, names and bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// One decoding into `out`, checked on its own: what it raised, named and wrote.
struct TOutcome {
  bool raised = false;
  std::vector<std::wstring> names;
  std::map<std::string, std::string> files;
  bool operator==(const TOutcome&) const = default;
};

TOutcome Decode(const fs::path& source, const fs::path& out, size_t bufferSize,
                vlm::TTNEFConvert::TReading reading) {
  fs::create_directory(out);
  TOutcome outcome;
  try {
    vlm::TTNEFConvert converter(source, bufferSize, reading);
    converter.Convert(outcome.names, out);
  } catch (const vlm::ETNEFConvert&) {
    outcome.raised = true;
  }
  std::set<std::string> named;
  for (const auto& name : outcome.names) named.insert(vlm::ToUtf8(name));
  Check(named.size() == outcome.names.size());
  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(out)) {
    Check(entry.is_regular_file() && !entry.is_symlink());
    const std::u8string name = entry.path().filename().u8string();
    const std::string utf8(name.begin(), name.end());
    written.insert(utf8);
    std::ifstream in(entry.path(), std::ios::binary);
    outcome.files[utf8].assign(std::istreambuf_iterator<char>(in), {});
  }
  Check(written == named);
  fs::remove_all(out);
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  static TSandbox sandbox;
  static const std::set<std::string> workingFolder = Entries(fs::current_path());
  const fs::path source = sandbox.root / "winmail.dat";
  {
    std::ofstream file(source, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  // Small odd-sized inputs are read through a small buffer, so that records fall across its
  // edges; large ones would take too long that way.
  const size_t bufferSize =
      size % 2 == 1 && size < 65536 ? 8 + size % 61 : vlm::TTNEFConvert::kDefaultBufferSize;
  const TOutcome mapped = Decode(source, sandbox.root / "out", bufferSize,
                                 vlm::TTNEFConvert::TReading::MappedWhenPossible);
  const TOutcome buffered =
      Decode(source, sandbox.root / "out", bufferSize, vlm::TTNEFConvert::TReading::Buffered);
  Check(mapped == buffered);
  Check(Entries(sandbox.root) == std::set<std::string>{"winmail.dat"});
  Check(Entries(fs::current_path()) == workingFolder);
  return 0;
}
