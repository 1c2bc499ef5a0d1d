#pragma once
// A message forwarded inside a winmail.dat (an Outlook item attached to another) written out as
// a message of its own, RFC 822 text any mail client opens: its header from the item's properties,
// its body, and its attachments, forwarded messages among them, each as a part of its own. The
// text is 7-bit with CRLF line breaks throughout, as a message/rfc822 part must be.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "received/tnef_body.h"
#include "received/tnef_properties.h"

namespace vlm {

struct TForwardingContext {
  TTnefRead Read;                               // the winmail.dat's bytes
  std::function<void(std::string_view)> Write;  // where the message text goes
  // The MIME type of an attachment by its name and the type its sender gave.
  std::function<std::string(const std::wstring& name, const std::string& mimeTag)> TypeOf;
  bool LongFileNames = true;
  unsigned Boundaries = 0;  // boundaries made so far, which keeps each one apart
};

// Writes `message` through the context.
void WriteForwardedMessage(const TTnefInfo& message, TForwardingContext& context);

// The name of the index-th attachment of `message`: its long name (when long names are on), else
// its title, else "attachment<index + 1>"; a forwarded message's the item's subject with ".eml".
// Always a safe bare file name.
[[nodiscard]] std::wstring TnefAttachmentName(const TTnefInfo& message, std::size_t index,
                                              const TTnefRead& read, bool longFileNames);

}  // namespace vlm
