// Calls the main entry of an archiver DLL with a command line and prints its result, its
// console output and the progress messages it sent, or lists an archive through the listing
// entries:
//   probe <dll> <main entry> <command line> [<SetOwnerWindowEx entry>]
//   probe <dll> list <entry prefix> <archive>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using MainEntry = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using SetOwner = BOOL(WINAPI*)(HWND, void*);
using OpenArchive = HANDLE(WINAPI*)(HWND, LPCSTR, DWORD);
using FindFirst = int(WINAPI*)(HANDLE, LPCSTR, void*);
using FindNext = int(WINAPI*)(HANDLE, void*);
using CloseArchive = int(WINAPI*)(HANDLE);

UINT progressMessage = 0;

// FARPROC and the entry's real type differ; going through void* says the cast is meant.
template <typename Entry>
Entry Resolve(HMODULE dll, const std::string& name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dll, name.c_str())));
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == progressMessage) {
    const char* info = reinterpret_cast<const char*>(lParam);
    std::uint32_t fileSize, writeSize;
    std::memcpy(&fileSize, info, 4);
    std::memcpy(&writeSize, info + 4, 4);
    std::printf("progress %u size=%u written=%u source=%s dest=%s\n", static_cast<unsigned>(wParam),
                fileSize, writeSize, info + 8, info + 524);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeOwner() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ArchiverProbeOwner";
  RegisterClassA(&wc);
  progressMessage = RegisterWindowMessageA("wm_arcextract");
  return CreateWindowA("ArchiverProbeOwner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                       nullptr);
}

int List(HMODULE dll, const std::string& prefix, const char* archive) {
  auto open = Resolve<OpenArchive>(dll, prefix + "OpenArchive");
  auto first = Resolve<FindFirst>(dll, prefix + "FindFirst");
  auto next = Resolve<FindNext>(dll, prefix + "FindNext");
  auto close = Resolve<CloseArchive>(dll, prefix + "CloseArchive");
  if (!open || !first || !next || !close) {
    std::printf("listing entries missing\n");
    return 2;
  }
  HANDLE handle = open(nullptr, archive, 0);
  if (!handle) {
    std::printf("open failed\n");
    return 1;
  }
  std::vector<char> info(558);
  for (int rc = first(handle, "*", info.data()); rc == 0; rc = next(handle, info.data())) {
    std::uint32_t original, compressed;
    std::memcpy(&original, info.data(), 4);
    std::memcpy(&compressed, info.data() + 4, 4);
    std::printf("%s\t%u\t%u\t%s\t%s\n", info.data() + 26, original, compressed, info.data() + 542,
                info.data() + 550);
  }
  close(handle);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::printf("usage: probe <dll> <entry> <command line> [<owner entry>]\n");
    return 2;
  }
  HMODULE dll = LoadLibraryA(argv[1]);
  if (!dll) {
    std::printf("cannot load %s (%lu)\n", argv[1], GetLastError());
    return 2;
  }
  if (std::strcmp(argv[2], "list") == 0 && argc >= 5) return List(dll, argv[3], argv[4]);
  auto entry = Resolve<MainEntry>(dll, argv[2]);
  if (!entry) {
    std::printf("no entry %s\n", argv[2]);
    return 2;
  }
  HWND owner = nullptr;
  if (argc >= 5) {
    owner = MakeOwner();
    auto set = Resolve<SetOwner>(dll, argv[4]);
    std::printf("owner registered: %d\n", set ? set(owner, nullptr) : -1);
  }
  std::vector<char> output(65536);
  int rc = entry(owner, argv[3], output.data(), static_cast<DWORD>(output.size()));
  std::printf("result %d (0x%X)\n%s\n", rc, static_cast<unsigned>(rc), output.data());
  return 0;
}
