#pragma once
// What the received-mail rewrites need from outside the portable code: the host, the MIME-type
// table and the system's date. The Windows side binds them to HostApi, the module's string table
// and the short date format; tests bind fakes.
#include <functional>
#include <string>

#include "base/host_api.h"

namespace vlm {

struct TMailTools {
  const TBeckyAPI& Host;
  // The MIME type for an extension with its dot; empty when the table has none.
  std::function<std::wstring(const std::wstring& extension)> MimeTypeOf;
  // Today's date in the system's short date format, without a time.
  std::function<std::wstring()> ShortDate;
  // Whether winmail.dat attachments are named by their long names (the INI key LongFileName).
  bool LongFileNames = true;
  // Whether a winmail.dat's body becomes a part of its own (the INI key TnefBody).
  bool TnefBody = true;
};

}  // namespace vlm
