#include "received/temporary_file.h"

#include <string>
#include <system_error>

#include "received/tnef_convert.h"

namespace vlm {

TTemporaryFile::TTemporaryFile(const std::filesystem::path& folder, unsigned& number) {
  for (;; ++number) {
    FPath = folder / (L"~tnef" + std::to_wstring(number) + L".part");
    std::error_code error;
    if (std::filesystem::symlink_status(FPath, error).type() ==
        std::filesystem::file_type::not_found)
      break;
  }
  ++number;
  FStream.open(FPath, std::ios::binary | std::ios::trunc);
  if (!FStream) throw ETNEFConvert("cannot create an attachment file");
}

TTemporaryFile::~TTemporaryFile() {
  FStream.close();
  std::error_code ignored;
  if (!FRenamed) std::filesystem::remove(FPath, ignored);
}

void TTemporaryFile::Write(const char* data, size_t size) {
  FStream.write(data, static_cast<std::streamsize>(size));
  if (!FStream) throw ETNEFConvert("cannot write an attachment file");
}

void TTemporaryFile::Close() {
  if (!FStream.is_open()) return;
  FStream.close();
  if (!FStream) throw ETNEFConvert("cannot write an attachment file");
}

void TTemporaryFile::RenameTo(const std::filesystem::path& target) {
  Close();
  std::error_code error;
  std::filesystem::rename(FPath, target, error);
  if (error) throw ETNEFConvert("cannot write an attachment file: " + error.message());
  FRenamed = true;
}

}  // namespace vlm
