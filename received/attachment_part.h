#pragma once
// The attachment part the rewrites append to a stored message.
#include <string_view>

#include "received/message_lines.h"

namespace vlm {

// One attachment part: the boundary line, its content headers naming `fileName` (code-page text,
// written unchanged), an empty line, the lines of the base64 text, and two empty lines.
void WriteAttachmentPart(TLineWriter& out, std::string_view boundary, std::string_view mimeType,
                         std::string_view fileName, std::string_view base64);

// A forwarded message as a part: message/rfc822 naming `fileName`, then the message's own text
// line by line. A message/rfc822 part takes no transfer encoding: the text is 7-bit already.
void WriteMessagePart(TLineWriter& out, std::string_view boundary, std::string_view fileName,
                      std::string_view message);

}  // namespace vlm
