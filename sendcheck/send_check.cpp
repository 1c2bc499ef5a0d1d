#include "sendcheck/send_check.h"

#include <array>
#include <cstdint>
#include <vector>

#include "base/ansi_text.h"
#include "base/format_size.h"
#include "sendcheck/send_scan.h"

namespace vlm {
namespace {

constexpr int kCharsetBufferSize = 512;

// The refused file, or the refused member inside the archive attached.
std::wstring BlockedToGmailText(const std::wstring& name, const std::wstring& member) {
  const std::wstring file = member.empty() ? name : name + L"」の中の「" + member;
  return L"Gmail宛てに送信できないファイル「" + file + L"」が添付されています" + L"\r\n" +
         L"このまま送信しても良いですか？" + L"\r\n" + L"\r\n" + L"(Gmailは危険な実行コードを" +
         L"\r\n" + L" 含む可能性のある実行ファイルを" + L"\r\n" +
         L" 送受信できないようになっています。)";
}

std::wstring ArchiveToGmailText(const std::wstring& name) {
  return L"圧縮ファイル「" + name + L"」が添付されていますが" + L"\r\n" +
         L"このまま送信しても良いですか？" + L"\r\n" + L"\r\n" +
         L"(Gmailは圧縮ファイル内に危険な実行コードを" + L"\r\n" +
         L" 含む可能性のある実行ファイルがある場合" + L"\r\n" +
         L" 送受信できないようになっています。)";
}

const std::wstring kForgottenAttachmentText =
    L"添付ファイルがないようですが\r\nこのまま送信しても良いですか？";

std::wstring AttachmentText(const std::wstring& name) {
  return L"「" + name + L"」ファイルが添付されていますが" + L"\r\n" +
         L"このまま送信しても良いですか？";
}

std::wstring LargeMessageText(std::int64_t size) {
  return L"送信メールサイズが1MByteを越えています。\r\n(現在 " + FormatSize(size) + L")" + L"\r\n" +
         L"\r\n" + L"一般的に1MByteを越える容量のメールは送るべきではありません。" + L"\r\n" +
         L"やむを得ない場合は出来るだけBecky!の設定で”分割メール送信”を行ってください。" + L"\r\n" +
         L"\r\n" + L"このまま送信しても良いですか？";
}

// The host's split-sending setting; a setting that cannot be read counts as off, so the user is
// asked rather than the send failing.
bool SplitSendingOn(const TPartialSendingReader& partialSending) {
  try {
    return partialSending && partialSending();
  } catch (...) {
    return false;
  }
}

// The message in the local code page; the text stays the host's.
std::string_view DecodeMessage(const char* message, const TBeckyAPI& host) {
  const char* decoded = host.ISO_2022_JP(message, 0);
  return decoded ? decoded : message;
}

std::wstring DecodeHeaderField(const std::string& field, const TBeckyAPI& host) {
  char charset[kCharsetBufferSize] = {};
  const char* decoded = host.MIMEHeader(field.c_str(), charset, kCharsetBufferSize, 0);
  return FromAnsi(decoded ? decoded : field.c_str());
}

// A recipient field names its addresses in plain ASCII; only one with encoded words ("=?") goes
// through the host's decoding, so that a name like "=?UTF-8?B?...?= <bob@gmail.com>" is read
// whole and plain fields cost no call.
bool RecipientsIncludeGmail(const std::vector<std::string>& fields, const TBeckyAPI& host) {
  for (const std::string& field : fields) {
    const bool encoded = field.find("=?") != std::string::npos;
    if (NamesGmailAddress(encoded ? DecodeHeaderField(field, host) : FromAnsi(field))) return true;
  }
  return false;
}

}  // namespace

int RunSendChecks(const char* message, const TSendCheckSettings& settings, const TBeckyAPI& host,
                  const TPartialSendingReader& partialSending, const TAsker& ask) {
  const std::string_view text = DecodeMessage(message ? message : "", host);
  const TLeadBytes lead;
  TSendScan scan;
  const std::wstring subject = DecodeHeaderField(ScanHeader(text, lead, scan), host);
  scan.ToGmail = RecipientsIncludeGmail(scan.RecipientFields, host);
  // The decoded subject is searched like a body line and counts in the size.
  ScanMessage(text, subject, {settings.SearchWord1, settings.SearchWord2, settings.SearchWord3},
              settings.NotReplyCheck, lead, scan);

  const auto declined = [&](const std::wstring& question, unsigned flags) {
    return ask(question, kSendCheckCaption, flags) != kAnswerYes;
  };
  if (scan.BlockedToGmail &&
      declined(BlockedToGmailText(scan.BlockedName, scan.BlockedMember), kStopQuestion))
    return kSendCancelled;
  if (settings.GmailSendCheck && scan.ArchiveToGmail &&
      declined(ArchiveToGmailText(scan.ArchiveName), kWarningQuestion))
    return kSendCancelled;

  // An attachment header found by the scan counts too, also when it is not a line of its own
  // ("Content-Disposition: attachment; filename=..."): then nothing was forgotten.
  const bool forgotten = scan.Found && !scan.HasAttachment && !scan.AttachmentHeaderLine;
  if (forgotten && declined(kForgottenAttachmentText, kWarningQuestion)) return kSendCancelled;
  if (settings.SendWarning && scan.HasAttachment &&
      declined(AttachmentText(scan.AttachmentName), kWarningQuestion))
    return kSendCancelled;

  const std::int64_t size = scan.Size;
  if (size >= settings.SizeCheckBytes && !SplitSendingOn(partialSending) &&
      declined(LargeMessageText(size), kWarningQuestion))
    return kSendCancelled;
  return kSendGoesAhead;
}

}  // namespace vlm
