#pragma once
// Result codes of the common archiver interface, as the callers of the archiver DLLs know them.
// 0 is success; every failure is one of these values, returned unchanged by the main entry.
namespace standin {

enum ResultCode : int {
  kOk = 0,
  kErrorPasswordFile = 0x800A,  // an encrypted member and no (or a wrong) password
  kErrorFileCrc = 0x800C,
  kErrorFileOpen = 0x800D,
  kErrorNotExist = 0x800F,
  kErrorMakeDirectory = 0x8012,
  kErrorCannotWrite = 0x8013,
  kErrorHeaderBroken = 0x8017,
  kErrorArcFileOpen = 0x8018,
  kErrorNotArcFile = 0x8019,
  kErrorCannotRead = 0x801A,
  kErrorCommandName = 0x801C,
  kErrorUserCancel = 0x8020,
  kErrorHarcIsNotOpened = 0x8021,
  kErrorNotSupport = 0x8023,
  kErrorResponseRead = 0x802A,
  kErrorNotFileName = 0x802B,
  kErrorNotFindFile = 0x8031,
};

// Raised inside the stand-ins and turned into the main entry's result at the boundary.
struct ArchiverError {
  int code;
  const char* what;
};

}  // namespace standin
