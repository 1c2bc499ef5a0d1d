// Random option sets, file names and DLL facts through every builder of every format. A builder
// may refuse with the layer's own errors; anything else is a fault, and so is a command line
// that does not survive the trip to the ANSI code page when all its names could.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "archiver/archiver_errors.h"
#include "archiver/archiver_factory.h"
#include "archiver/archiver_platform.h"
#include "base/ansi_text.h"

namespace {

using namespace vlm;

// Characters that code page 932 holds: ASCII, kanji whose second byte is "\" in code page 932,
// half-width katakana, and the characters the builders treat specially.
const std::wstring kAlphabet = L"abcXYZ019 .-_*?:;#@!\"\\/[]-\x65e5\x672c\x8868\x30bd\x80fd\xff71";

class FuzzPlatform : public TArchiverPlatform {
 public:
  bool callBack = false;
  int zipDlls = 0;
  bool stubs = false;
  bool CallBackEnabled() const override { return callBack; }
  bool ZipDllLoaded(TZipModule dll) const override {
    return (zipDlls & (1 << static_cast<int>(dll))) != 0;
  }
  std::optional<std::wstring> SearchExecutablePath(const std::wstring&) const override {
    if (!stubs) return std::nullopt;
    return L"stub.bin";
  }
  std::optional<std::wstring> ReadMachineRegistryString(const std::wstring&,
                                                        const std::wstring&) const override {
    return std::nullopt;
  }
  bool FileExists(const std::wstring&) const override { return false; }
  std::wstring ExpandFileName(const std::wstring& name) const override {
    return L"C:\\work\\" + name;
  }
};

std::wstring Name(FuzzedDataProvider& fdp) {
  std::wstring name;
  const size_t length = fdp.ConsumeIntegralInRange<size_t>(0, 12);
  for (size_t i = 0; i < length; ++i) {
    name += kAlphabet[fdp.ConsumeIntegralInRange<size_t>(0, kAlphabet.size() - 1)];
  }
  return name;
}

std::wstring StringSwitch(FuzzedDataProvider& fdp) {
  return fdp.ConsumeBool() ? kUnsetString : Name(fdp);
}

TArchiverOptions Options(FuzzedDataProvider& fdp) {
  TArchiverOptions options;
  for (const TOptionSwitch& sw : OptionSwitches()) {
    switch (sw.kind) {
      case TOptionSwitch::skInt:
        options.*sw.intField = fdp.ConsumeBool() ? fdp.ConsumeIntegral<std::int8_t>()
                                                 : fdp.ConsumeIntegralInRange<std::int8_t>(-1, 9);
        break;
      case TOptionSwitch::skString:
        options.*sw.stringField = StringSwitch(fdp);
        break;
      case TOptionSwitch::skList:
        for (int n = fdp.ConsumeIntegralInRange(0, 3); n > 0; --n) {
          (options.*sw.listField).push_back(Name(fdp));
        }
        break;
    }
  }
  options.UserOptions = Name(fdp);
  options.UserFileList = Name(fdp);
  options.ResFileUsage = TResFileUsage::FromBits(fdp.ConsumeIntegral<std::uint8_t>());
  options.ResFileName = fdp.ConsumeBool() ? L"list.rsp" : L"";
  return options;
}

TFileItems Files(FuzzedDataProvider& fdp) {
  TFileItems items;
  for (int n = fdp.ConsumeIntegralInRange(0, 4); n > 0; --n) {
    if (fdp.ConsumeBool()) {
      items.emplace_back(Name(fdp));
    } else {
      items.emplace_back(std::vector<std::wstring>{Name(fdp), Name(fdp)});
    }
  }
  return items;
}

void CheckAnsi(const std::wstring& line) {
  if (FromAnsi(ToAnsi(line)) != line) std::abort();
}

void CreateInputFiles() {
  static const bool created = [] {
    std::ofstream("stub.bin", std::ios::binary) << "STUB";
    std::ofstream("arc.bin", std::ios::binary) << "ARCHIVE";
    return true;
  }();
  (void)created;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CreateInputFiles();
  FuzzedDataProvider fdp(data, size);
  FuzzPlatform platform;
  platform.callBack = fdp.ConsumeBool();
  platform.zipDlls = fdp.ConsumeIntegralInRange(0, 7);
  platform.stubs = fdp.ConsumeBool();
  const auto type = static_cast<TArchiverType>(fdp.ConsumeIntegralInRange(0, 14));
  auto cmds = CreateArchiverCommands(type, platform);
  if (!cmds) return 0;
  const TArchiverOptions options = Options(fdp);
  const int op = fdp.ConsumeIntegralInRange(0, 5);
  const bool useResFile = fdp.ConsumeBool();
  const std::wstring archive = Name(fdp), target = Name(fdp);
  const TFileItems files = Files(fdp);
  try {
    std::wstring line;
    switch (op) {
      case 0:
        line = cmds->BuildUnpackCmd(archive, options, useResFile, files, target);
        break;
      case 1:
        line = cmds->BuildPackCmd(archive, options, useResFile, files, target);
        break;
      case 2:
        line = cmds->BuildRemoveItemsCmd(archive, options, useResFile, files, target);
        break;
      case 3:
        line = cmds->BuildUpdateArchiveCmd(archive, options, useResFile, files, target);
        break;
      case 4:
        line = cmds->BuildUnpackToMemCmd(archive, options, target);
        break;
      case 5:
        // Self-extracting programs are written beside a real archive in the working folder.
        line = cmds->MakesSfxWithoutDll() ? cmds->MakeSfx(L"arc.bin", options, L"")
                                          : cmds->BuildMakeSfxCmd(L"arc.bin", options, L"");
        break;
    }
    CheckAnsi(line);
  } catch (const EWideMessage&) {
    // The layer's own refusals: missing options, DLLs, stubs, unsupported operations.
  }
  return 0;
}
