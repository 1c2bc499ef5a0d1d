#pragma once
// What the drop and paste handling reads from the settings and the plug-in's state: taken from
// the settings form once per hooked message, so the portable drop code never sees the form.
#include <string>
#include <vector>

#include "base/host_api.h"

class TForm1;

namespace vlm {

struct TDropSettings {
  bool ArchiveCheck = false;        // every item is packed
  int ArchiveType = 0;              // 0 = LHA, 1 = ZIP
  bool WriteFileName = false;       // the body lists the attached names
  std::wstring WriteWord;           // the listing's heading
  bool CheckPassword = false;       // ask for a ZIP password
  bool OverSizeCheck = false;       // ask about large items
  std::wstring OverSize;            // the size rule's threshold in MB, as the user wrote it
  wchar_t DecimalSeparator = L'.';  // of the user's locale, for reading OverSize
  bool FileNameChange = false;      // offer an underscored archive extension
  std::wstring TempFolder;
  HostWnd B2OhWnd = nullptr;
  std::vector<std::wstring> NewMesWindow;
};

[[nodiscard]] TDropSettings DropSettingsOf(const TForm1& form);

}  // namespace vlm
