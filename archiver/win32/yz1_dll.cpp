#include "archiver/win32/yz1_dll.h"

namespace vlm::win {

TYZ1Dll::TYZ1Dll(std::wstring dllName) : TArchiverDll(L"YZ1 形式書庫", std::move(dllName), "Yz1") {}

void TYZ1Dll::FreeDll() {
  TArchiverDll::FreeDll();
  FSetDefaultPassword = FPasswordDialog = nullptr;
}

HARC TYZ1Dll::OpenArchive(HWND handle, const std::string& fileName, DWORD mode) {
  FHandle = handle;
  return TArchiverDll::OpenArchive(handle, fileName, mode);
}

int TYZ1Dll::FindFirst(HARC hArc, const std::string& mask, TIndivisualInfo& info) {
  constexpr int kAttempts = 4;
  int result = 0;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    result = TArchiverDll::FindFirst(hArc, mask, info);
    if (result != kYz1NeedsPassword || attempt == kAttempts) break;
    char password[256] = {};
    if (EnterPassword(FHandle, password, sizeof password) < 0) break;
    SetDefaultPassword(hArc, password);
  }
  return result;
}

int TYZ1Dll::SetDefaultPassword(HARC hArc, const std::string& password) {
  if (!Resolve(FSetDefaultPassword, "SetDefaultPassword", false)) return -1;
  using Proc = int(WINAPI*)(HARC, LPCSTR);
  return As<Proc>(FSetDefaultPassword)(hArc, password.c_str());
}

int TYZ1Dll::EnterPassword(HWND hwndParent, char* password, DWORD size) {
  if (!Resolve(FPasswordDialog, "PasswordDialog", false)) return -1;
  using Proc = int(WINAPI*)(HWND, LPSTR, DWORD);
  return As<Proc>(FPasswordDialog)(hwndParent, password, size);
}

}  // namespace vlm::win
