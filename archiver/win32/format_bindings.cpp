#include "archiver/win32/format_bindings.h"

#include <memory>

#include "archiver/archiver_errors.h"
#include "archiver/win32/archiver_dll.h"
#include "archiver/win32/yz1_dll.h"

namespace vlm::win {
namespace {

struct TDllName {
  const wchar_t* archiveName;
  const wchar_t* dllName;
  const char* entryPrefix;
};

// The formats bound to one DLL file each.
const TDllName* SingleDllName(TArchiverType type) {
  static const TDllName kLha{L"LHA 形式書庫", L"UNLHA32.DLL", "Unlha"};
  static const TDllName kCab{L"CAB 形式書庫", L"CAB32.DLL", "Cab"};
  static const TDllName kArj{L"ARJ 形式書庫", L"UNARJ32J.DLL", "Unarj"};
  static const TDllName kTar{L"tar/tgz/taz/bz2 形式書庫", L"TAR32.DLL", "Tar"};
  static const TDllName kRar{L"RAR 形式書庫", L"UNRAR32.DLL", "Unrar"};
  static const TDllName kBga{L"BGA 形式書庫", L"BGA32.DLL", "Bga"};
  static const TDllName kSevenZip{L"7z 形式書庫", L"7-zip32.dll", "SevenZip"};
  switch (type) {
    case atLha:
      return &kLha;
    case atCab:
      return &kCab;
    case atArj:
      return &kArj;
    case atTar:
    case atTgz:
    case atBZ2:
      return &kTar;
    case atRar:
      return &kRar;
    case atBga:
      return &kBga;
    case at7z:
      return &kSevenZip;
    default:
      return nullptr;
  }
}

// The process-wide bindings. Deliberately never destroyed (see TCustomArchiverDll).
std::unique_ptr<TCustomArchiverDll>& Slot(TArchiverType type) {
  static auto* slots = new std::unique_ptr<TCustomArchiverDll>[atAutoDetect + 1];
  // The three tar formats share one binding.
  if (type == atTgz || type == atBZ2) type = atTar;
  return slots[type];
}

TCustomArchiverDll& LoadYz1() {
  std::unique_ptr<TCustomArchiverDll>& slot = Slot(atYz1);
  if (slot) {
    slot->LoadDll();
    return *slot;
  }
  static const wchar_t* const kCandidates[] = {L"YYZ32.DLL", L"YZ1.DLL"};
  std::wstring names;
  for (const wchar_t* name : kCandidates) {
    auto binding = std::make_unique<TYZ1Dll>(name);
    try {
      binding->LoadDll();
      slot = std::move(binding);
      return *slot;
    } catch (...) {
      // Try the next name.
    }
    if (!names.empty()) names += L" か ";
    names += name;
  }
  throw EArchiver(L"Yz1 形式書庫を扱うには " + names + L" が必要です。");
}

}  // namespace

TCustomArchiverDll& LoadFormatDll(TArchiverType type) {
  if (type == atYz1) return LoadYz1();
  std::unique_ptr<TCustomArchiverDll>& slot = Slot(type);
  if (!slot) {
    if (type == atZip) {
      slot = std::make_unique<TZipBinding>();
    } else if (const TDllName* name = SingleDllName(type)) {
      slot = std::make_unique<TArchiverDll>(name->archiveName, name->dllName, name->entryPrefix);
    } else {
      throw EArchiver(L"書庫の形式を判別できません。");
    }
  }
  slot->LoadDll();
  return *slot;
}

const TZipBinding* ZipBinding() {
  return static_cast<const TZipBinding*>(Slot(atZip).get());
}

}  // namespace vlm::win
