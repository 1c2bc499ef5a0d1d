// Any bytes as a winmail.dat: the decoder either writes files or raises its own error, never
// crashes or leaks, and writes nothing but regular files named in ResultFile, inside the folder.
// The file mapped and the file read through a buffer give the same outcome, names and bytes.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "received/tnef_convert.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Writing the same large value many times over (a data identifier inside a value is a new
// attachment) only slows the search down; the largest sample is 1.5 MB.
constexpr size_t kMaxInput = 2 * 1024 * 1024;

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
    outcome.files[utf8] = vlm::test::ReadFile(entry.path());
  }
  Check(written == named);
  fs::remove_all(out);
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  static const vlm::test::TScratchFolder sandbox;
  static const std::set<std::string> workingFolder = Entries(fs::current_path());
  const fs::path source = sandbox.Path() / "winmail.dat";
  vlm::test::WriteFile(source, std::string_view(reinterpret_cast<const char*>(data), size));
  // Small odd-sized inputs are read through a small buffer, so that records fall across its
  // edges; large ones would take too long that way.
  const size_t bufferSize =
      size % 2 == 1 && size < 65536 ? 8 + size % 61 : vlm::TTNEFConvert::kDefaultBufferSize;
  const TOutcome mapped = Decode(source, sandbox.Path() / "out", bufferSize,
                                 vlm::TTNEFConvert::TReading::MappedWhenPossible);
  const TOutcome buffered =
      Decode(source, sandbox.Path() / "out", bufferSize, vlm::TTNEFConvert::TReading::Buffered);
  Check(mapped == buffered);
  Check(Entries(sandbox.Path()) == std::set<std::string>{"winmail.dat"});
  Check(Entries(fs::current_path()) == workingFolder);
  return 0;
}
