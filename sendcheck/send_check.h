#pragma once
// The questions asked before the host sends a message (the work of BKC_OnSend). Up to five yes/no
// questions, in a fixed order; the first answer other than Yes cancels the send.
#include <functional>
#include <string>

#include "base/host_api.h"

namespace vlm {

// The settings the checks read, taken from the settings form at every send.
struct SendCheckSettings {
  std::wstring SearchWord1;    // LabeledEdit1 ("String1"); an empty word is skipped
  std::wstring SearchWord2;    // LabeledEdit2 ("String2")
  std::wstring SearchWord3;    // LabeledEdit3 ("String3")
  bool NotReplyCheck = true;   // CheckBox1: search words on quoted lines do not count
  bool SendWarning = false;    // CheckBox4: ask whenever something is attached
  bool GmailSendCheck = true;  // CheckBox12: ask about archives sent to Gmail
};

// Shows a question and returns the standard result (1 OK, 2 Cancel, 6 Yes, 7 No).
using SendCheckAsker =
    std::function<int(const std::wstring& text, const std::wstring& caption, unsigned flags)>;

// Reads the host's split-sending setting; may throw when the host's settings cannot be read.
using PartialSendingReader = std::function<bool()>;

inline constexpr int kSendGoesAhead = 0;
inline constexpr int kSendCancelled = -1;

inline constexpr wchar_t kSendCheckCaption[] = L"添付ファイルの確認";
// MB_YESNO | MB_ICONSTOP | MB_TOPMOST and MB_YESNO | MB_ICONWARNING | MB_TOPMOST.
inline constexpr unsigned kStopQuestion = 0x40014;
inline constexpr unsigned kWarningQuestion = 0x40034;
inline constexpr int kAnswerYes = 6;

// Runs the checks over `message`, the outgoing source as the host passes it (ISO-2022-JP transfer
// form, NUL-terminated). Decodes it and its subject through the host's ISO_2022_JP and MIMEHeader.
// Returns kSendGoesAhead, or kSendCancelled once a question was not answered Yes. Reads the host's
// split-sending setting only for a message of 1,024,000 characters or more.
int RunSendChecks(const char* message, const SendCheckSettings& settings, const TBeckyAPI& host,
                  const PartialSendingReader& partialSending, const SendCheckAsker& ask);

}  // namespace vlm
