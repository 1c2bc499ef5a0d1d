#include "compose/win32/directory_size.h"

#include "base/win32/scoped.h"

namespace vlm {
namespace {

// The attributes a search leaves out unless asked for, as the attribute argument works.
constexpr DWORD kSpecialAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | 0x8 /* volume */;

bool Wanted(const WIN32_FIND_DATAW& entry, DWORD attributes) {
  return (entry.dwFileAttributes & ~attributes & kSpecialAttributes) == 0;
}

}  // namespace

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::int64_t GetDirectorySize(const std::wstring& dir, const std::wstring& mask, DWORD attributes,
                              bool recurse) {
  const std::wstring folder = !dir.empty() && dir.back() == L'\\' ? dir : dir + L'\\';
  WIN32_FIND_DATAW entry;
  win::ScopedFindHandle found(FindFirstFileW((folder + mask).c_str(), &entry));
  if (!found) return 0;
  std::int64_t total = 0;
  do {
    ProcessPendingMessages();
    if (!Wanted(entry, attributes)) continue;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      total += (static_cast<std::int64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    } else if (entry.cFileName[0] != L'.' && recurse &&
               !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      // A linked folder may lead back up the tree; following it would never end.
      total += GetDirectorySize(folder + entry.cFileName, mask, attributes, recurse);
    }
  } while (FindNextFileW(found.get(), &entry));
  return total;
}

}  // namespace vlm
