#pragma once
// The decision for one dropped file or folder: attach it as it is, or pack it into an LHA or ZIP
// archive in the host's temporary folder first, asking the user where the settings say so.
#include <string>

#include "compose/drop_message.h"

namespace vlm {

enum class TItemOutcome {
  Delivered,   // handed to DeliverAttachment
  Skipped,     // not attached; the next item follows
  EndMessage,  // not attached, and the remaining items of the drop are not handled either
};

// Handles `itemPath` for `message`. Consumes the message whenever the plug-in takes the item
// over, including when the user cancels; never leaves an item of a consumed drop unattached
// without telling the user.
TItemOutcome ProcessDroppedItem(const std::wstring& itemPath, TDropMessage& message);

}  // namespace vlm
