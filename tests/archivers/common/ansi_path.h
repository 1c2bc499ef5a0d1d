#pragma once
// Names cross the archiver interface as 8-bit text in the ANSI code page (932 on the systems
// the plug-in serves). The stand-ins keep names as those bytes and turn them into file-system
// paths only to open files, so Japanese names survive on Windows and plain names work natively.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace standin {

// On Windows the bytes are decoded with the ANSI code page; natively they are taken as they
// are, with "\" read as a folder separator so that command lines shaped like the Windows ones
// work in the unit tests too.
std::filesystem::path PathFromAnsi(std::string_view ansi);
std::string AnsiFromPath(const std::filesystem::path& path);

// What an archive member needs to know about the file it was made from.
struct FileStamp {
  std::uint16_t dosDate = 0;  // local time, MS-DOS format
  std::uint16_t dosTime = 0;
  std::int64_t unixTime = 0;  // UTC seconds
  std::uint32_t attributes =
      0x20;  // MS-DOS attribute bits: 1 read-only, 2 hidden, 4 system, 0x10 folder, 0x20 archive
};

FileStamp StampOf(const std::filesystem::path& path);
// Local MS-DOS date and time of a UTC instant, and back.
void DosFromUnix(std::int64_t unixTime, std::uint16_t& dosDate, std::uint16_t& dosTime);
std::int64_t UnixFromDos(std::uint16_t dosDate, std::uint16_t dosTime);
void SetWriteTime(const std::filesystem::path& path, std::int64_t unixTime);

// True for the first byte of a two-byte character of the ANSI code page. Natively names are
// UTF-8, whose bytes never hide a separator, so no byte leads.
bool IsLeadByte(unsigned char byte);

// Hidden and system files are skipped while folders are walked unless the command asks for them.
bool IsHiddenOrSystem(const std::filesystem::path& path);

}  // namespace standin
