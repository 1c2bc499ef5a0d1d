#pragma once
// The attachment part the rewrites append to a stored message.
#include <string_view>

#include "received/message_lines.h"

namespace vlm {

// One attachment part: the boundary line, its content headers naming `fileName` (code-page text,
// written unchanged), an empty line, the lines of the base64 text, and two empty lines.
void WriteAttachmentPart(TLineWriter& out, std::string_view boundary, std::string_view mimeType,
                         std::string_view fileName, std::string_view base64);

}  // namespace vlm
