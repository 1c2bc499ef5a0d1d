#pragma once
// The body a winmail.dat carries, as the parts a mail client shows: the HTML (PR_HTML, or the
// HTML that Outlook's RTF wraps), the plain text (PR_BODY, attBody, or the text the RTF wraps) or,
// for RTF written as RTF, the RTF itself.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "received/tnef_properties.h"

namespace vlm {

struct TTnefBodyPart {
  std::wstring Name;        // "message.html", "message.txt" or "message.rtf"
  std::string ContentType;  // with its charset parameter where it has one
  std::string Bytes;
};

// The parts for `message`'s body, HTML or RTF first, then text; empty when it has none. A text
// part comes only with `withText`: a message that shows its own text part needs no second one.
// A compressed RTF that cannot be read gives no RTF part. Raises ETNEFConvert where `read` does.
[[nodiscard]] std::vector<TTnefBodyPart> TnefBodyParts(const TTnefInfo& message,
                                                       const TTnefRead& read, bool withText);

// The MIME charset name for a Windows code page; empty for one without a name here.
[[nodiscard]] std::string CharsetOfCodePage(unsigned codePage);

}  // namespace vlm
