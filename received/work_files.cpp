#include "received/work_files.h"

#include <fstream>
#include <system_error>

#include "base/ansi_text.h"
#include "base/files.h"
#include "base/host_lines.h"
#include "received/received_mail_error.h"

namespace vlm {
namespace {

// The path for a message: UTF-8.
std::string Utf8Path(const std::filesystem::path& path) {
  return ToUtf8(PathText(path));
}

}  // namespace

std::filesystem::path HostPath(std::string_view ansi) {
  return FilePath(FromAnsi(ansi));
}

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw EReceivedMail("cannot write " + Utf8Path(path));
}

void RemoveWorkFile(const std::filesystem::path& path) {
  if (!RemoveFile(PathText(path))) throw EReceivedMail("cannot delete " + Utf8Path(path));
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
