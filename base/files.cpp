#include "base/files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

#include "base/code_page_name.h"
#include "base/file_name_key.h"
#include "base/mapped_file.h"
#include "base/path.h"

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
int CloseHandle(int handle) {
  return _close(handle);
}
#else
int OpenNew(const std::filesystem::path& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long WriteSome(int handle, const char* data, size_t size) {
  return write(handle, data, std::min<size_t>(size, INT_MAX));
}
int CloseHandle(int handle) {
  return close(handle);
}
#endif

std::wstring Replaced(std::wstring_view pattern, const std::wstring& fileName) {
  std::wstring text(pattern);
  return text.replace(text.find(L"%s"), 2, fileName);
}

}  // namespace

EFileError CannotCreateFile(const std::wstring& fileName) {
  return EFileError(Replaced(L"ファイル \"%s\" を作成できません。", fileName), fileName);
}

EFileError CannotOpenFile(const std::wstring& fileName) {
  return EFileError(Replaced(L"ファイル \"%s\" を開けません。", fileName), fileName);
}

std::int64_t FolderSize(const std::wstring& folder, const std::function<void()>& onEntry) {
  std::int64_t total = 0;
  ForEachEntry(JoinPath(folder, L"*"), [&](const TFolderEntry& entry) {
    if (onEntry) onEntry();
    if (!entry.folder)
      total += entry.size;
    else if (!entry.linked)
      total += FolderSize(JoinPath(folder, entry.name), onEntry);
    return true;
  });
  return total;
}

TNewFile::~TNewFile() {
  Close();
}

TNewFile::TResult TNewFile::Create(const std::wstring& path) {
  Close();
  FHandle = OpenNew(FilePath(path));
  if (FHandle >= 0) return TResult::Created;
  // Windows answers an exclusive create over a folder with "access denied" rather than "exists".
  return errno == EEXIST || AnythingNamed(path) ? TResult::NameTaken : TResult::Failed;
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
  return CloseHandle(handle) == 0;
}

TTemporaryFile::TTemporaryFile(const std::wstring& folder, std::wstring_view prefix,
                               std::wstring_view suffix, unsigned& number, std::wstring shownName)
    : FShownName(std::move(shownName)) {
  // A folder of many earlier leftovers is not searched for ever.
  for (unsigned tries = 0;; ++number, ++tries) {
    FPath = JoinPath(folder, std::wstring(prefix) + std::to_wstring(number) + std::wstring(suffix));
    const TNewFile::TResult result = FFile.Create(FPath);
    if (result == TNewFile::TResult::Created) break;
    if (result == TNewFile::TResult::Failed || tries >= 10000) {
      const EFileError error = CannotWrite();
      FPath.clear();
      throw error;
    }
  }
  ++number;
}

TTemporaryFile::~TTemporaryFile() {
  FFile.Close();
  if (!FMoved && !FPath.empty()) (void)RemoveFile(FPath);
}

EFileError TTemporaryFile::CannotWrite() const {
  return CannotCreateFile(FShownName.empty() ? FPath : FShownName);
}

void TTemporaryFile::Write(const char* data, size_t size) {
  if (!FFile.Write(data, size)) throw CannotWrite();
}

std::uint64_t TTemporaryFile::WriteFile(const std::wstring& source) {
  std::ifstream in(FilePath(source), std::ios::binary);
  if (!in) throw CannotOpenFile(source);
  std::uint64_t total = 0;
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    Write(buffer, static_cast<size_t>(got));
    total += static_cast<std::uint64_t>(got);
  }
  if (in.bad()) throw CannotOpenFile(source);
  return total;
}

void TTemporaryFile::Close() {
  if (FFile.IsOpen() && !FFile.Close()) throw CannotWrite();
}

void TTemporaryFile::MoveTo(const std::wstring& target) {
  Close();
  std::error_code error;
  std::filesystem::rename(FilePath(FPath), FilePath(target), error);
  if (error) throw FShownName.empty() ? CannotCreateFile(target) : CannotWrite();
  FMoved = true;
}

TReplacingFile::TReplacingFile(std::wstring fileName)
    : FFileName(std::move(fileName)),
      FFile(FolderPart(FFileName), FileNamePart(FFileName) + L".~", L".tmp", FNumber, FFileName) {}

namespace {

// Creates the file, taking the name over from a file left from an earlier run, and fills it by
// `write`; what was written is removed again when that fails.
template <typename Write>
bool WriteWholeNew(const std::wstring& path, Write write) {
  TNewFile file;
  TNewFile::TResult result = file.Create(path);
  if (result == TNewFile::TResult::NameTaken && !FolderExists(path) && RemoveFile(path))
    result = file.Create(path);  // a file left from an earlier run
  if (result != TNewFile::TResult::Created) return false;
  if (write(file) && file.Close()) return true;
  file.Close();
  (void)RemoveFile(path);
  return false;
}

}  // namespace

bool WriteWholeNewFile(const std::wstring& path, const char* data, size_t size) {
  return WriteWholeNew(path, [&](TNewFile& file) { return file.Write(data, size); });
}

bool WriteWholeNewFile(const std::wstring& path, const TMappedFile& source, std::uint64_t offset,
                       size_t size) {
  return WriteWholeNew(path, [&](TNewFile& file) { return source.WriteRange(file, offset, size); });
}

bool TNameClaim::Take(std::wstring_view name) {
  return FKeys.insert(FileNameKey(name)).second;
}

std::wstring TNameClaim::Claim(const std::wstring& name) {
  std::wstring claimed = name;
  for (int number = 2; !Take(claimed); ++number) claimed = NumberedName(name, number);
  return claimed;
}

}  // namespace vlm
