#pragma once
// The questions asked before the host sends a message (the work of BKC_OnSend). Up to five yes/no
// questions, in a fixed order; the first answer other than Yes cancels the send.
#include <cstdint>
#include <functional>
#include <string>

#include "base/answers.h"
#include "base/host_api.h"

namespace vlm {

// The settings the checks read, taken from the settings form at every send.
struct TSendCheckSettings {
  std::wstring SearchWord1;    // LabeledEdit1 ("String1"); an empty word is skipped
  std::wstring SearchWord2;    // LabeledEdit2 ("String2")
  std::wstring SearchWord3;    // LabeledEdit3 ("String3")
  bool NotReplyCheck = true;   // CheckBox1: search words on quoted lines do not count
  bool SendWarning = false;    // CheckBox4: ask whenever something is attached
  bool GmailSendCheck = true;  // CheckBox12: ask about archives sent to Gmail
  // SizeCheckBytes: the size question is asked from this many characters on (one "MByte" of the
  // question's text is 1000 x 1024 characters).
  std::int64_t SizeCheckBytes = 1024000;
};

// Reads the host's split-sending setting; may throw when the host's settings cannot be read.
using TPartialSendingReader = std::function<bool()>;

inline constexpr int kSendGoesAhead = 0;
inline constexpr int kSendCancelled = -1;

inline constexpr wchar_t kSendCheckCaption[] = L"添付ファイルの確認";
inline constexpr unsigned kStopQuestion = kBoxYesNo | kBoxIconStop | kBoxTopmost;
inline constexpr unsigned kWarningQuestion = kBoxYesNo | kBoxIconWarning | kBoxTopmost;

// Runs the checks over `message`, the outgoing source as the host passes it (ISO-2022-JP transfer
// form, NUL-terminated). Decodes it and its subject through the host's ISO_2022_JP and MIMEHeader.
// Returns kSendGoesAhead, or kSendCancelled once a question was not answered Yes. Reads the host's
// split-sending setting only for a message of SizeCheckBytes characters or more.
int RunSendChecks(const char* message, const TSendCheckSettings& settings, const TBeckyAPI& host,
                  const TPartialSendingReader& partialSending, const TAsker& ask);

}  // namespace vlm
