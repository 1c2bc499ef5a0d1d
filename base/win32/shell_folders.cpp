#include "base/win32/shell_folders.h"

#include <shlobj.h>

namespace vlm {

std::wstring DesktopFolder(HWND owner) {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(owner, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  return path;
}

}  // namespace vlm
