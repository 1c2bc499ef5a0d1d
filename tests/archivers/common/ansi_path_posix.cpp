#include "tests/archivers/common/ansi_path.h"

#include <sys/stat.h>
#include <ctime>
#include <utime.h>

namespace standin {

std::filesystem::path PathFromAnsi(std::string_view ansi) {
  std::string text(ansi);
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
  return std::filesystem::path(text);
}

std::string AnsiFromPath(const std::filesystem::path& path) {
  return path.string();
}

void DosFromUnix(std::int64_t unixTime, std::uint16_t& dosDate, std::uint16_t& dosTime) {
  std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm local{};
  localtime_r(&t, &local);
  int year = local.tm_year + 1900;
  if (year < 1980) {
    dosDate = (1 << 5) | 1;
    dosTime = 0;
    return;
  }
  dosDate =
      static_cast<std::uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  dosTime =
      static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
}

std::int64_t UnixFromDos(std::uint16_t dosDate, std::uint16_t dosTime) {
  std::tm local{};
  local.tm_year = ((dosDate >> 9) & 0x7F) + 80;
  local.tm_mon = ((dosDate >> 5) & 0x0F) - 1;
  local.tm_mday = dosDate & 0x1F;
  local.tm_hour = (dosTime >> 11) & 0x1F;
  local.tm_min = (dosTime >> 5) & 0x3F;
  local.tm_sec = (dosTime & 0x1F) * 2;
  local.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&local));
}

FileStamp StampOf(const std::filesystem::path& path) {
  FileStamp stamp;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return stamp;
  stamp.unixTime = st.st_mtime;
  DosFromUnix(stamp.unixTime, stamp.dosDate, stamp.dosTime);
  stamp.attributes = S_ISDIR(st.st_mode) ? 0x10 : 0x20;
  if ((st.st_mode & S_IWUSR) == 0) stamp.attributes |= 0x01;
  return stamp;
}

void SetWriteTime(const std::filesystem::path& path, std::int64_t unixTime) {
  struct utimbuf times {};
  times.actime = static_cast<std::time_t>(unixTime);
  times.modtime = static_cast<std::time_t>(unixTime);
  utime(path.c_str(), &times);
}

// Natively a leading dot marks what Windows marks with the hidden attribute.
bool IsHiddenOrSystem(const std::filesystem::path& path) {
  std::string name = path.filename().string();
  return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

bool IsLeadByte(unsigned char) {
  return false;
}

}  // namespace standin
