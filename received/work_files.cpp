#include "received/work_files.h"

#include <fstream>
#include <system_error>

#include "base/ansi_text.h"
#include "base/host_lines.h"
#include "received/received_mail_error.h"

namespace vlm {
namespace {

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

std::filesystem::path WidePath(const std::wstring& path) {
  // Through UTF-8, which both Windows and POSIX take as it is whatever the C locale.
  const std::string utf8 = ToUtf8(path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::filesystem::path HostPath(std::string_view ansi) {
  return WidePath(FromAnsi(ansi));
}

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw EReceivedMail("cannot write " + PathText(path));
}

void RemoveFile(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
  if (error) throw EReceivedMail("cannot delete " + PathText(path));
}

TWorkFiles::~TWorkFiles() {
  for (const auto& path : FPaths) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
}

std::string HostTempFile(const TBeckyAPI& host, const char* type, TWorkFiles& files) {
  std::string name = HostTempFile(host, type);
  files.Add(HostPath(name));
  return name;
}

std::string HostTempFile(const TBeckyAPI& host, const char* type) {
  const std::string_view name = HostText(host.GetTempFileName(type));
  if (name.empty()) throw EReceivedMail("the host named no work file");
  return std::string(name);
}

}  // namespace vlm
