#pragma once
// Adding a file to a received message: the file is appended to the stored message as a base64
// attachment part. A multipart/mixed message gets one more part; a single-part message is first
// made multipart/mixed with its former body as the first part. The rewritten message carries the
// marker "X-Velmora: Setattach".
#include <optional>
#include <string>
#include <string_view>

#include "received/mail_tools.h"

namespace vlm {

// Whether the add-file command may be offered for `mail` (null: the selected message): a message
// without attachments, or a multipart/mixed one.
[[nodiscard]] bool CanAddFile(const TMailTools& tools, const char* mail);

// The status text telling why the message cannot take a file, read before a file is chosen;
// nothing when it can.
[[nodiscard]] std::optional<std::wstring> AddFileRefusal(const TMailTools& tools, const char* mail);

// Appends the file at `path` (code-page text) to `mail`. Leaves the message exactly as it was when
// it cannot be rewritten or anything fails on the way; the host's status line tells the user about
// an addition, a message it cannot take and a failure. Never raises.
void AddFileToMessage(const TMailTools& tools, const char* mail, const std::string& path);

// The boundary of a converted single-part message: the date and the Message-ID's address without
// its "@", without "/", keeping only characters a boundary may hold, at most 70 of them.
[[nodiscard]] std::string MakeBoundary(const std::wstring& shortDate, std::string_view messageId);

// The largest file that may be added, in bytes.
inline constexpr long long kAddFileLimit = 10'000'000;

inline constexpr wchar_t kFileAddedText[] = L"追加終了しました。";
inline constexpr wchar_t kUnsupportedMailText[] = L"未対応のメールです。";
inline constexpr wchar_t kAddFailedText[] = L"ファイルの追加に失敗しました。";

}  // namespace vlm
