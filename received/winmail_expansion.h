#pragma once
// The expansion of winmail.dat: a received message whose attachments arrived packed in a TNEF
// part gets each packed file appended as an ordinary base64 attachment part, and the marker
// "X-Velmora: Settlement" so that it is not expanded twice. The winmail.dat part stays.
#include "received/mail_tools.h"

namespace vlm {

// Whether the message `mail` (null: the selected one) should be expanded: it carries attachments,
// it has no marker of an earlier expansion, its header has an X-MS-TNEF-Correlator line and one
// of its own parts is application/ms-tnef.
[[nodiscard]] bool HasWinmailPart(const TMailTools& tools, const char* mail);

// Expands the winmail.dat of `mail` into the stored message. Leaves the message exactly as it was
// when the part cannot be taken apart cleanly, holds no attachment, or anything fails on the way;
// the host's status line tells the user how it ended, and why when nothing changed. Never raises.
void ExpandWinmail(const TMailTools& tools, const char* mail);

// The status texts.
inline constexpr wchar_t kExpandingText[] = L"winmail.datを展開中です・・・";
inline constexpr wchar_t kExpandedText[] = L"展開終了しました。";
inline constexpr wchar_t kExpandFailedText[] = L"winmail.datの展開に失敗しました。";
inline constexpr wchar_t kNothingToExpandText[] = L"winmail.datに添付ファイルはありません。";
inline constexpr wchar_t kWinmailTooLargeText[] =
    L"winmail.datの添付ファイルが多すぎるか大きすぎるため、展開しませんでした。";
inline constexpr wchar_t kUnsupportedWinmailText[] = L"未対応のメールです。";
// For the command started on a message that has no winmail.dat to expand (or one expanded before).
inline constexpr wchar_t kNoWinmailText[] = L"展開できるwinmail.datがありません。";

}  // namespace vlm
