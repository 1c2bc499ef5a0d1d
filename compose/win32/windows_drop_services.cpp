#include "compose/win32/windows_drop_services.h"

#include <windows.h>

#include <stdexcept>

#include "archiver/win32/archive_file.h"
#include "base/ansi_text.h"
#include "base/plugin_state.h"
#include "base/win32/app_window.h"
#include "base/win32/host_helpers.h"
#include "base/win32/host_registry.h"
#include "base/win32/launch.h"
#include "base/win32/user_locale.h"
#include "compose/win32/password_dialog.h"

namespace vlm {
namespace {

// Host text in the ANSI code page; no text at all for an empty one.
class AnsiArgument {
 public:
  explicit AnsiArgument(const std::wstring& text) : text_(ToAnsi(text)) {}
  const char* get() const { return text_.empty() ? nullptr : text_.c_str(); }

 private:
  std::string text_;
};

// Processes the messages waiting in the calling thread's queue. A quit request is put back for
// the host's own loop.
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

}  // namespace

TArchiveFile& TFormArchive::Component() {
  if (!form_.ArchiveFile) throw std::runtime_error("the settings form has no archive component");
  return *form_.ArchiveFile;
}

void TFormArchive::SetFileName(const std::wstring& fileName) {
  Component().SetFileName(fileName);
}
void TFormArchive::SetArchiverType(TArchiverType type) {
  Component().SetArchiverType(type);
}
TArchiverOptions& TFormArchive::Options() {
  return Component().Options();
}
void TFormArchive::SetOutputSize(int size) {
  Component().SetOutputSize(size);
}
int TFormArchive::PackFiles(const std::vector<std::wstring>& files, const std::wstring& baseDir) {
  return Component().PackFiles(static_cast<HWND>(AppWindow), nullptr, {files}, baseDir);
}

std::vector<std::wstring> TFormArchive::MissingFiles() {
  return Component().MissingFromArchive();
}

void TFormArchive::StartInstaller() {
  // The settings' caldix button; the launch's outcome is not reported.
  StartArchiverInstaller(static_cast<HWND>(AppWindow), form_.PluginFolder);
}

HostWnd TWindowsComposeHost::ComposeMail(const std::wstring& body, const std::wstring& path) {
  return ComposeMailWithFile(AnsiArgument(body).get(), AnsiArgument(path).get());
}

void TWindowsComposeHost::CompAttachFile(HostWnd window, const std::wstring& body,
                                         const std::wstring& path) {
  AttachFileToCompose(static_cast<HWND>(window), AnsiArgument(body).get(),
                      AnsiArgument(path).get());
}

void TWindowsComposeHost::SetMessageText(HostWnd window, const std::wstring& text) {
  SetHostMessageText(static_cast<HWND>(window), AnsiArgument(text).get());
}

void TWindowsComposeHost::RefreshTempFolder() {
  vlm::RefreshTempFolder();
}

bool TWindowsComposeHost::PartialSending() {
  return HostPartialSending();
}

void TWindowsComposeHost::PauseWithMessages(int milliseconds) {
  ProcessPendingMessages();
  Sleep(static_cast<DWORD>(milliseconds));
}

void TWindowsComposeHost::KeepResponsive() {
  ProcessPendingMessages();
}

TDropServices WindowsDropServices(TFormArchive& archive, TWindowsComposeHost& host) {
  return TDropServices{ShowMessage, ShowPasswordDialog, host, archive};
}

TDropSettings WindowsDropSettings(const TForm1& form) {
  TDropSettings settings = DropSettingsOf(form);
  settings.DecimalSeparator = UserDecimalSeparator();
  return settings;
}

}  // namespace vlm
