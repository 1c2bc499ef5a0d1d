#pragma once
// A single-part message made multipart/mixed so that it can take more parts: its former body with
// all its Content-* fields becomes the first part, every kept byte as it stands, and a missing
// content field takes its MIME default.
#include <functional>
#include <string>
#include <string_view>

#include "received/mail_tools.h"
#include "received/message_lines.h"
#include "received/message_view.h"

namespace vlm {

// The boundary of a converted single-part message: the date and the Message-ID's address without
// its "@", without "/", keeping only characters a boundary may hold, at most 70 of them.
[[nodiscard]] std::string MakeBoundary(const std::wstring& shortDate, std::string_view messageId);

// Writes `message` as multipart/mixed with the marker `markerWord`: the header without its
// Content-* fields, the new Content-Type, the first part, then what `writeParts` writes with the
// boundary, then the closing delimiter. The boundary comes from the short date and the message's
// identifier, changed until no line of the message begins with it.
void WriteAsMultipart(TLineWriter& out, const TMailTools& tools, const TMessageView& message,
                      std::string_view markerWord,
                      const std::function<void(TLineWriter&, const std::string&)>& writeParts);

}  // namespace vlm
