#include "archiver/replacing_file.h"

#include <filesystem>
#include <system_error>

#include "archiver/archiver_errors.h"
#include "archiver/archiver_messages.h"

namespace vlm {
namespace {

namespace fs = std::filesystem;
namespace msg = archiver_messages;

[[noreturn]] void ThrowCannotCreate(const std::wstring& fileName) {
  throw EFileError(msg::FileMessage(msg::kCannotCreateFile, fileName), fileName);
}

// A temporary name beside the final file that no existing file uses.
std::wstring FreeTempName(const std::wstring& fileName) {
  std::error_code ec;
  for (int i = 0;; ++i) {
    std::wstring candidate = fileName + L".~" + std::to_wstring(i) + L".tmp";
    if (!fs::exists(fs::path(candidate), ec) && !ec) return candidate;
    if (i >= 1000) ThrowCannotCreate(fileName);
  }
}

}  // namespace

TReplacingFile::TReplacingFile(std::wstring fileName)
    : FFileName(std::move(fileName)), FTempName(FreeTempName(FFileName)) {
  FOut.open(fs::path(FTempName), std::ios::binary | std::ios::trunc);
  if (!FOut) ThrowCannotCreate(FFileName);
}

TReplacingFile::~TReplacingFile() {
  if (FCommitted) return;
  FOut.close();
  std::error_code ignored;
  fs::remove(fs::path(FTempName), ignored);
}

void TReplacingFile::CheckWritten() {
  if (!FOut) ThrowCannotCreate(FFileName);
}

void TReplacingFile::Append(std::string_view bytes) {
  FOut.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  CheckWritten();
}

std::uint64_t TReplacingFile::AppendFile(const std::wstring& source) {
  std::ifstream in(fs::path(source), std::ios::binary);
  if (!in) throw EFileError(msg::FileMessage(msg::kCannotOpenFile, source), source);
  std::uint64_t total = 0;
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    Append(std::string_view(buffer, static_cast<size_t>(got)));
    total += static_cast<std::uint64_t>(got);
  }
  if (in.bad()) throw EFileError(msg::FileMessage(msg::kCannotOpenFile, source), source);
  return total;
}

void TReplacingFile::Commit() {
  FOut.flush();
  CheckWritten();
  FOut.close();
  if (FOut.fail()) ThrowCannotCreate(FFileName);
  std::error_code ec;
  fs::rename(fs::path(FTempName), fs::path(FFileName), ec);
  if (ec) ThrowCannotCreate(FFileName);
  FCommitted = true;
}

}  // namespace vlm
