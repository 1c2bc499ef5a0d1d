#pragma once
// The drop handling's seams bound to Windows: message boxes owned by the application window, the
// password dialog, the settings form's archive component, and the host through Velmora's own
// exports.
#include "base/settings_form.h"
#include "compose/drop_services.h"
#include "compose/drop_settings.h"

namespace vlm {

// The settings form's TArchiveFile as the drop handling drives it.
class TFormArchive : public TDropArchive {
 public:
  explicit TFormArchive(TForm1& form) : form_(form) {}
  void SetFileName(const std::wstring& fileName) override;
  void SetArchiverType(TArchiverType type) override;
  TArchiverOptions& Options() override;
  void SetOutputSize(int size) override;
  int PackFiles(const std::vector<std::wstring>& files, const std::wstring& baseDir) override;
  std::vector<std::wstring> MissingFiles() override;
  void StartInstaller() override;

 private:
  // Throws when the form has none.
  TArchiveFile& Component();

  TForm1& form_;
};

class TWindowsComposeHost : public TComposeHost {
 public:
  HostWnd ComposeMail(const std::wstring& body, const std::wstring& path) override;
  void CompAttachFile(HostWnd window, const std::wstring& body, const std::wstring& path) override;
  void SetMessageText(HostWnd window, const std::wstring& text) override;
  void RefreshTempFolder() override;
  bool PartialSending() override;
  void PauseWithMessages(int milliseconds) override;
  void KeepResponsive() override;
};

// The seams of one drop, over the form's archive component and the host.
[[nodiscard]] TDropServices WindowsDropServices(TFormArchive& archive, TWindowsComposeHost& host);

// The settings the drop handling reads, with the user's decimal separator.
[[nodiscard]] TDropSettings WindowsDropSettings(const TForm1& form);

}  // namespace vlm
