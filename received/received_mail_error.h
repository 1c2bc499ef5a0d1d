#pragma once
// The one failure the rewrites of a stored message raise.
#include <stdexcept>

namespace vlm {

// A failure while rewriting a stored message: a file operation, the host's base64 conversion,
// a host buffer. The stored message is left as it was.
class EReceivedMail : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vlm
