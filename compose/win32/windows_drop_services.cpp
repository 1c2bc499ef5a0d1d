#include "compose/win32/windows_drop_services.h"

#include <windows.h>

#include <stdexcept>

#include "archiver/win32/archive_file.h"
#include "base/win32/code_page_copy.h"
#include "compose/win32/directory_size.h"
#include "compose/win32/password_dialog.h"
#include "base/ansi_text.h"
#include "base/plugin_state.h"
#include "base/win32/app_window.h"
#include "base/win32/host_helpers.h"
#include "base/win32/host_registry.h"
#include "base/win32/launch.h"
#include "base/win32/file_probe.h"
#include "base/win32/user_locale.h"

namespace vlm {
namespace {

constexpr DWORD kAnyFile = 0x1FF;

DWORD AttributesOf(const std::wstring& path) {
  return GetFileAttributesW(path.c_str());
}

// Host text in the ANSI code page; no text at all for an empty one.
class AnsiArgument {
 public:
  explicit AnsiArgument(const std::wstring& text) : text_(ToAnsi(text)) {}
  const char* get() const { return text_.empty() ? nullptr : text_.c_str(); }

 private:
  std::string text_;
};

}  // namespace

void FormArchive::SetFileName(const std::wstring& fileName) {
  archive_.SetFileName(fileName);
}
void FormArchive::SetArchiverType(TArchiverType type) {
  archive_.SetArchiverType(type);
}
TArchiverOptions& FormArchive::Options() {
  return archive_.Options();
}
void FormArchive::SetOutputSize(int size) {
  archive_.SetOutputSize(size);
}
int FormArchive::PackFiles(const std::vector<std::wstring>& files, const std::wstring& baseDir) {
  return archive_.PackFiles(static_cast<HWND>(AppWindow), nullptr, {files}, baseDir);
}

int WindowsDropServices::Ask(const std::wstring& text, const std::wstring& caption,
                             unsigned flags) {
  return ShowMessage(text, caption, flags);
}

std::wstring WindowsDropServices::AskPassword() {
  return ShowPasswordDialog();
}

bool WindowsDropServices::IsFolder(const std::wstring& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::int64_t WindowsDropServices::FileSize(const std::wstring& path) {
  return FileSizeOf(path);
}

std::int64_t WindowsDropServices::FolderSize(const std::wstring& path) {
  return GetDirectorySize(path, L"*.*", kAnyFile, true);
}

bool WindowsDropServices::FileExists(const std::wstring& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WindowsDropServices::RemoveFile(const std::wstring& path) {
  return DeleteFileW(path.c_str()) != 0;
}

bool WindowsDropServices::NamesBelowFitCodePage(const std::wstring& folder) {
  return vlm::NamesBelowFitCodePage(folder);
}

std::wstring WindowsDropServices::CopyUnderCodePageNames(const std::wstring& source,
                                                         const std::wstring& target) {
  return vlm::CopyUnderCodePageNames(source, target);
}

void WindowsDropServices::RemoveTree(const std::wstring& path) {
  vlm::RemoveTree(path);
}

std::wstring WindowsDropServices::CurrentDirectory() {
  std::wstring path(GetCurrentDirectoryW(0, nullptr), L'\0');
  path.resize(GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data()));
  return path;
}

void WindowsDropServices::ChangeDirectory(const std::wstring& path) {
  SetCurrentDirectoryW(path.c_str());
}

void WindowsDropServices::PauseWithMessages(int milliseconds) {
  ProcessPendingMessages();
  Sleep(static_cast<DWORD>(milliseconds));
}

bool WindowsDropServices::HostPartialSending() {
  return vlm::HostPartialSending();
}

wchar_t WindowsDropServices::DecimalSeparator() {
  return UserDecimalSeparator();
}

DropArchive& WindowsDropServices::Archive() {
  if (!form_.ArchiveFile) throw std::runtime_error("the settings form has no archive component");
  if (!archive_) archive_ = std::make_unique<FormArchive>(*form_.ArchiveFile);
  return *archive_;
}

void WindowsDropServices::StartArchiverInstaller() {
  // The settings' caldix button; the launch's outcome is not reported.
  vlm::StartArchiverInstaller(static_cast<HWND>(AppWindow), form_.PluginFolder);
}

HostWnd WindowsDropServices::ComposeMail(const std::wstring& body, const std::wstring& path) {
  return ComposeMailWithFile(AnsiArgument(body).get(), AnsiArgument(path).get());
}

void WindowsDropServices::CompAttachFile(HostWnd window, const std::wstring& body,
                                         const std::wstring& path) {
  AttachFileToCompose(static_cast<HWND>(window), AnsiArgument(body).get(),
                      AnsiArgument(path).get());
}

void WindowsDropServices::SetMessageText(HostWnd window, const std::wstring& text) {
  SetHostMessageText(static_cast<HWND>(window), AnsiArgument(text).get());
}

void WindowsDropServices::RefreshTempFolder() {
  vlm::RefreshTempFolder();
}

}  // namespace vlm
