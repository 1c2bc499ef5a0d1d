#pragma once
// Failures of the archiver layer. Messages are the Japanese texts the user sees; every error the
// layer raises is an EWideMessage.
#include <string>

#include "base/wide_message.h"

namespace vlm {

// Every failure of the layer that has no class of its own. An archiver DLL's own failure is not
// an EArchiver: its result code is handed back unchanged.
class EArchiver : public EWideMessage {
 public:
  explicit EArchiver(std::wstring message, int errorCode = 0)
      : EWideMessage(std::move(message)), FErrorCode(errorCode) {}
  int ErrorCode() const noexcept { return FErrorCode; }

 private:
  int FErrorCode;
};

// An archiver DLL that cannot be loaded.
class ENoArchiverDLL : public EArchiver {
 public:
  using EArchiver::EArchiver;
};

// A mandatory entry missing from an archiver DLL.
class EEntryNotFound : public EArchiver {
 public:
  using EArchiver::EArchiver;
};

// A stub module needed for a self-extracting program is missing.
class ESfxNoRequiredFile : public EArchiver {
 public:
  ESfxNoRequiredFile(std::wstring archiverType, std::wstring sfxType, std::wstring sfxModuleName);
  const std::wstring& ArchiverType() const noexcept { return FArchiverType; }
  const std::wstring& SfxType() const noexcept { return FSfxType; }
  const std::wstring& SfxModuleName() const noexcept { return FSfxModuleName; }

 private:
  std::wstring FArchiverType;
  std::wstring FSfxType;
  std::wstring FSfxModuleName;
};

// A caller broke a precondition of a command builder (an option that must be set was not).
class EAssertionFailed : public EWideMessage {
 public:
  using EWideMessage::EWideMessage;
};

}  // namespace vlm
