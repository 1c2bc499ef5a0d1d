#pragma once
// The YZ1 binding (YYZ32.DLL or YZ1.DLL): listing asks for a password through the DLL's own
// dialog when an archive needs one.
#include "archiver/win32/archiver_dll.h"

namespace vlm::win {

// FindFirst's answer for an archive that needs a password.
inline constexpr int kYz1NeedsPassword = 0x800A;

class TYZ1Dll : public TArchiverDll {
 public:
  explicit TYZ1Dll(std::wstring dllName);

  void FreeDll() override;
  // Remembers `handle` as the parent of the password dialog.
  HARC OpenArchive(HWND handle, const std::string& fileName, DWORD mode) override;
  // Up to four attempts: after each 0x800A the DLL's password dialog is shown and its answer
  // handed to SetDefaultPassword; a cancelled or missing dialog stops at once.
  int FindFirst(HARC hArc, const std::string& mask, TIndivisualInfo& info) override;
  // -1 when the DLL lacks the entry.
  int SetDefaultPassword(HARC hArc, const std::string& password);
  int EnterPassword(HWND hwndParent, char* password, DWORD size);

 private:
  HWND FHandle = nullptr;
  FARPROC FSetDefaultPassword = nullptr;
  FARPROC FPasswordDialog = nullptr;
};

}  // namespace vlm::win
