#pragma once
// The records and callback types of the common archiver interface, laid out byte for byte as
// the archiver DLLs read and write them: packed, little-endian, ANSI text.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace vlm {

#pragma pack(push, 1)

// One archive member. The DLL fills the first 558 bytes (FindFirst / FindNext); the binding
// completes the times and 64-bit sizes after them.
struct TIndivisualInfo {
  std::uint32_t dwOriginalSize;
  std::uint32_t dwCompressedSize;
  std::uint32_t dwCRC;
  std::uint32_t uFlag;
  std::uint32_t uOSType;
  std::uint16_t wRatio;
  std::uint16_t wDate;  // MS-DOS date, local time
  std::uint16_t wTime;  // MS-DOS time, local time
  char szFileName[513];
  char dummy1[3];
  char szAttribute[8];
  char szMode[8];
  // Filled by the binding, UTC.
  FILETIME WriteTime;
  FILETIME AccessTime;
  FILETIME CreateTime;
  std::int64_t qwOriginalSize;
  std::int64_t qwCompressedSize;
};

struct TExtractingInfo {
  std::uint32_t dwFileSize;
  std::uint32_t dwWriteSize;
  char szSourceFileName[513];
  char dummy1[3];
  char szDestFileName[513];
  char dummy[3];
};

struct TExtractingInfoEx {
  TExtractingInfo exinfo;
  std::uint32_t dwCompressedSize;
  std::uint32_t dwCRC;
  std::uint32_t uOSType;
  std::uint16_t wRatio;
  std::uint16_t wDate;
  std::uint16_t wTime;
  char szAttribute[8];
  char szMode[8];
};
using LPEXTRACTINGINFOEX = TExtractingInfoEx*;

struct TEnumMemberInfo64 {
  std::uint32_t dwStructSize;
  std::uint32_t uCommand;
  std::int64_t llOriginalSize;
  std::int64_t llCompressedSize;
  std::uint32_t dwAttributes;
  std::uint32_t dwCRC;
  std::uint32_t uOSType;
  std::uint16_t wRatio;
  FILETIME ftCreateTime;
  FILETIME ftAccessTime;
  FILETIME ftWriteTime;
  char szFileName[513];
  char dummy1[3];
  char szAddFileName[513];
  char dummy2[3];
};

#pragma pack(pop)

// The part of TIndivisualInfo the DLL writes.
inline constexpr std::size_t kDllIndivisualInfoSize = 558;

static_assert(offsetof(TIndivisualInfo, wRatio) == 20);
static_assert(offsetof(TIndivisualInfo, wDate) == 22);
static_assert(offsetof(TIndivisualInfo, wTime) == 24);
static_assert(offsetof(TIndivisualInfo, szFileName) == 26);
static_assert(offsetof(TIndivisualInfo, dummy1) == 539);
static_assert(offsetof(TIndivisualInfo, szAttribute) == 542);
static_assert(offsetof(TIndivisualInfo, szMode) == 550);
static_assert(offsetof(TIndivisualInfo, WriteTime) == kDllIndivisualInfoSize);
static_assert(offsetof(TIndivisualInfo, qwOriginalSize) == 582);
static_assert(sizeof(TIndivisualInfo) == 598);

static_assert(offsetof(TExtractingInfo, szSourceFileName) == 8);
static_assert(offsetof(TExtractingInfo, dummy1) == 521);
static_assert(offsetof(TExtractingInfo, szDestFileName) == 524);
static_assert(offsetof(TExtractingInfo, dummy) == 1037);
static_assert(sizeof(TExtractingInfo) == 1040);

static_assert(offsetof(TExtractingInfoEx, dwCompressedSize) == 1040);
static_assert(offsetof(TExtractingInfoEx, wRatio) == 1052);
static_assert(offsetof(TExtractingInfoEx, wTime) == 1056);
static_assert(offsetof(TExtractingInfoEx, szAttribute) == 1058);
static_assert(offsetof(TExtractingInfoEx, szMode) == 1066);
static_assert(sizeof(TExtractingInfoEx) == 1074);

static_assert(offsetof(TEnumMemberInfo64, uCommand) == 4);
static_assert(offsetof(TEnumMemberInfo64, llOriginalSize) == 8);
static_assert(offsetof(TEnumMemberInfo64, llCompressedSize) == 16);
static_assert(offsetof(TEnumMemberInfo64, dwAttributes) == 24);
static_assert(offsetof(TEnumMemberInfo64, dwCRC) == 28);
static_assert(offsetof(TEnumMemberInfo64, uOSType) == 32);
static_assert(offsetof(TEnumMemberInfo64, wRatio) == 36);
static_assert(offsetof(TEnumMemberInfo64, ftCreateTime) == 38);
static_assert(offsetof(TEnumMemberInfo64, ftAccessTime) == 46);
static_assert(offsetof(TEnumMemberInfo64, ftWriteTime) == 54);
static_assert(offsetof(TEnumMemberInfo64, szFileName) == 62);
static_assert(offsetof(TEnumMemberInfo64, dummy1) == 575);
static_assert(offsetof(TEnumMemberInfo64, szAddFileName) == 578);
static_assert(offsetof(TEnumMemberInfo64, dummy2) == 1091);
static_assert(sizeof(TEnumMemberInfo64) == 1094);

// Archive handle of the listing entries (0 = failure).
using HARC = HANDLE;

// Progress callback for SetOwnerWindowEx; the layer always passes none and takes progress as
// window messages instead.
using TArchiverProc = BOOL(WINAPI*)(HWND, UINT, UINT, LPEXTRACTINGINFOEX);
// Member callback while packing: nonzero continues, 0 stops.
using TEnumMemberProc = BOOL(WINAPI*)(TEnumMemberInfo64*);

// The result code of a command stopped by the user (a progress handler's abort).
inline constexpr int kArchiverUserCancel = 0x8020;

}  // namespace vlm
