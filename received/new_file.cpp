#include "received/new_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace vlm {
namespace {

// The C runtime's descriptor calls under the names each system gives them; Windows names are
// Unicode, so the wide form opens them.
#ifdef _WIN32
int OpenNew(const std::filesystem::path& path) {
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
}
int WriteSome(int handle, const char* data, size_t size) {
  return _write(handle, data, static_cast<unsigned>(std::min<size_t>(size, INT_MAX)));
}
int CloseFile(int handle) {
  return _close(handle);
}
#else
int OpenNew(const std::filesystem::path& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long WriteSome(int handle, const char* data, size_t size) {
  return write(handle, data, std::min<size_t>(size, INT_MAX));
}
int CloseFile(int handle) {
  return close(handle);
}
#endif

}  // namespace

TNewFile::~TNewFile() {
  Close();
}

TNewFile::TResult TNewFile::Create(const std::filesystem::path& path) {
  Close();
  FHandle = OpenNew(path);
  if (FHandle >= 0) return TResult::Created;
  return errno == EEXIST ? TResult::NameTaken : TResult::Failed;
}

bool TNewFile::Write(const char* data, size_t size) {
  while (size > 0) {
    const auto written = WriteSome(FHandle, data, size);
    if (written <= 0) {
      if (written < 0 && errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool TNewFile::Close() {
  if (FHandle < 0) return true;
  const int handle = FHandle;
  FHandle = -1;
  return CloseFile(handle) == 0;
}

bool WriteWholeNewFile(const std::filesystem::path& path, const char* data, size_t size) {
  TNewFile file;
  std::error_code ignored;
  TNewFile::TResult result = file.Create(path);
  if (result == TNewFile::TResult::NameTaken &&
      !std::filesystem::is_directory(std::filesystem::symlink_status(path, ignored))) {
    std::filesystem::remove(path, ignored);  // a file left from an earlier run
    result = file.Create(path);
  }
  if (result != TNewFile::TResult::Created) return false;
  if (file.Write(data, size) && file.Close()) return true;
  file.Close();
  std::filesystem::remove(path, ignored);
  return false;
}

}  // namespace vlm
