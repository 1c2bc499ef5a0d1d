#include "received/temporary_file.h"

#include <string>
#include <system_error>

#include "received/tnef_convert.h"

namespace vlm {

namespace {

// Windows answers an exclusive create over a folder with "access denied" rather than "exists".
bool SomethingNamed(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() !=
         std::filesystem::file_type::not_found;
}

}  // namespace

TTemporaryFile::TTemporaryFile(const std::filesystem::path& folder, unsigned& number) {
  for (;; ++number) {
    FPath = folder / (L"~tnef" + std::to_wstring(number) + L".part");
    const TNewFile::TResult result = FFile.Create(FPath);
    if (result == TNewFile::TResult::Created) break;
    if (result == TNewFile::TResult::Failed && !SomethingNamed(FPath))
      throw ETNEFConvert("cannot create an attachment file");
  }
  ++number;
}

TTemporaryFile::~TTemporaryFile() {
  FFile.Close();
  std::error_code ignored;
  if (!FRenamed) std::filesystem::remove(FPath, ignored);
}

void TTemporaryFile::Write(const char* data, size_t size) {
  if (!FFile.Write(data, size)) throw ETNEFConvert("cannot write an attachment file");
}

void TTemporaryFile::Close() {
  if (!FFile.IsOpen()) return;
  if (!FFile.Close()) throw ETNEFConvert("cannot write an attachment file");
}

void TTemporaryFile::RenameTo(const std::filesystem::path& target) {
  Close();
  std::error_code error;
  std::filesystem::rename(FPath, target, error);
  if (error) throw ETNEFConvert("cannot write an attachment file: " + error.message());
  FRenamed = true;
}

}  // namespace vlm
