#pragma once
// The seams one drop or paste is handled through: questions to the user, the host, and the
// archive component. Files are reached through base/files.h and base/code_page_copy.h, which
// the native tests run against real folders.
#include <functional>
#include <string>

#include "base/answers.h"
#include "compose/compose_host.h"
#include "compose/drop_archive.h"

namespace vlm {

// Shows the password dialog modally; the text its field held when it closed.
using TPasswordAsker = std::function<std::wstring()>;

struct TDropServices {
  TAsker Ask;  // a message box owned by the application window
  TPasswordAsker AskPassword;
  TComposeHost& Host;
  TDropArchive& Archive;
};

}  // namespace vlm
