#include "tests/archivers/common/ansi_path.h"

#include <windows.h>

namespace standin {

namespace {

constexpr std::int64_t kUnixEpochInFileTime = 116444736000000000LL;  // 100 ns ticks 1601..1970

FILETIME FileTimeFromUnix(std::int64_t unixTime) {
  std::uint64_t ticks = static_cast<std::uint64_t>(unixTime * 10000000LL + kUnixEpochInFileTime);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

std::int64_t UnixFromFileTime(const FILETIME& ft) {
  std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return (static_cast<std::int64_t>(ticks) - kUnixEpochInFileTime) / 10000000LL;
}

}  // namespace

std::filesystem::path PathFromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return std::filesystem::path(wide);
}

std::string AnsiFromPath(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string ansi(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n,
                      nullptr, nullptr);
  return ansi;
}

void DosFromUnix(std::int64_t unixTime, std::uint16_t& dosDate, std::uint16_t& dosTime) {
  FILETIME utc = FileTimeFromUnix(unixTime);
  FILETIME local;
  FileTimeToLocalFileTime(&utc, &local);
  WORD date = 0, time = 0;
  if (!FileTimeToDosDateTime(&local, &date, &time)) {
    date = (1 << 5) | 1;
    time = 0;
  }
  dosDate = date;
  dosTime = time;
}

std::int64_t UnixFromDos(std::uint16_t dosDate, std::uint16_t dosTime) {
  FILETIME local, utc;
  DosDateTimeToFileTime(dosDate, dosTime, &local);
  LocalFileTimeToFileTime(&local, &utc);
  return UnixFromFileTime(utc);
}

FileStamp StampOf(const std::filesystem::path& path) {
  FileStamp stamp;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
  stamp.unixTime = UnixFromFileTime(data.ftLastWriteTime);
  DosFromUnix(stamp.unixTime, stamp.dosDate, stamp.dosTime);
  stamp.attributes = data.dwFileAttributes & 0x37;
  return stamp;
}

void SetWriteTime(const std::filesystem::path& path, std::int64_t unixTime) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FILETIME ft = FileTimeFromUnix(unixTime);
  SetFileTime(file, nullptr, nullptr, &ft);
  CloseHandle(file);
}

bool IsHiddenOrSystem(const std::filesystem::path& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

bool IsLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != 0;
}

}  // namespace standin
