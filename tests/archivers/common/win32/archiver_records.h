#pragma once
// The records and callback types of the common archiver interface, byte for byte as the
// callers lay them out (packed, little-endian, ANSI text).
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace standin {

#pragma pack(push, 1)

struct TIndivisualInfo {
  std::uint32_t dwOriginalSize;
  std::uint32_t dwCompressedSize;
  std::uint32_t dwCRC;
  std::uint32_t uFlag;
  std::uint32_t uOSType;
  std::uint16_t wRatio;
  std::uint16_t wDate;
  std::uint16_t wTime;
  char szFileName[513];
  char dummy1[3];
  char szAttribute[8];
  char szMode[8];
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

static_assert(offsetof(TIndivisualInfo, szFileName) == 26);
static_assert(offsetof(TIndivisualInfo, szAttribute) == 542);
static_assert(sizeof(TIndivisualInfo) == 558);
static_assert(sizeof(TExtractingInfo) == 1040);
static_assert(offsetof(TExtractingInfoEx, szAttribute) == 1058);
static_assert(sizeof(TExtractingInfoEx) == 1074);
static_assert(offsetof(TEnumMemberInfo64, ftCreateTime) == 38);
static_assert(offsetof(TEnumMemberInfo64, szFileName) == 62);
static_assert(offsetof(TEnumMemberInfo64, szAddFileName) == 578);
static_assert(sizeof(TEnumMemberInfo64) == 1094);

using TArchiverProc = BOOL(WINAPI*)(HWND, UINT, UINT, TExtractingInfoEx*);
using TEnumMemberProc = BOOL(WINAPI*)(TEnumMemberInfo64*);

// Archive handle of the listing entries (a pointer-sized token, 0 = failure).
using HARC = HANDLE;

}  // namespace standin

// Entries are exported undecorated (the DLLs link with --kill-at) and use stdcall.
#define STANDIN_EXPORT extern "C" __declspec(dllexport)
