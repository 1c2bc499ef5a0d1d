#pragma once
// The drop handling's seams bound to Windows: message boxes owned by the application window, the
// file system, the host's registry settings, the settings form's archive component, and the
// host through Velmora's own exports.
#include <memory>

#include "compose/drop_services.h"
#include "base/settings_form.h"

namespace vlm {

class TArchiveFile;

// The settings form's TArchiveFile as the drop handling drives it.
class FormArchive : public DropArchive {
 public:
  explicit FormArchive(TArchiveFile& archive) : archive_(archive) {}
  void SetFileName(const std::wstring& fileName) override;
  void SetArchiverType(TArchiverType type) override;
  TArchiverOptions& Options() override;
  void SetOutputSize(int size) override;
  int PackFiles(const std::vector<std::wstring>& files, const std::wstring& baseDir) override;

 private:
  TArchiveFile& archive_;
};

class WindowsDropServices : public DropServices {
 public:
  explicit WindowsDropServices(TForm1& form) : form_(form) {}

  int Ask(const std::wstring& text, const std::wstring& caption, unsigned flags) override;
  std::wstring AskPassword() override;
  bool IsFolder(const std::wstring& path) override;
  std::int64_t FileSize(const std::wstring& path) override;
  std::int64_t FolderSize(const std::wstring& path) override;
  bool FileExists(const std::wstring& path) override;
  bool RemoveFile(const std::wstring& path) override;
  bool NamesBelowFitCodePage(const std::wstring& folder) override;
  std::wstring CopyUnderCodePageNames(const std::wstring& source,
                                      const std::wstring& target) override;
  void RemoveTree(const std::wstring& path) override;
  std::wstring CurrentDirectory() override;
  void ChangeDirectory(const std::wstring& path) override;
  void PauseWithMessages(int milliseconds) override;
  bool HostPartialSending() override;
  wchar_t DecimalSeparator() override;
  DropArchive& Archive() override;
  void StartArchiverInstaller() override;
  HostWnd ComposeMail(const std::wstring& body, const std::wstring& path) override;
  void CompAttachFile(HostWnd window, const std::wstring& body, const std::wstring& path) override;
  void SetMessageText(HostWnd window, const std::wstring& text) override;
  void RefreshTempFolder() override;

 private:
  TForm1& form_;
  std::unique_ptr<FormArchive> archive_;
};

}  // namespace vlm
