#pragma once
// A rewritten message handed back to the host, in a buffer of the host's own.
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

#include "base/host_api.h"
#include "received/message_lines.h"

namespace vlm {

// A buffer from the host's Alloc, given back to its Free. Raises EReceivedMail when the host
// gives none.
class THostBuffer {
 public:
  THostBuffer(const TBeckyAPI& host, size_t size);
  ~THostBuffer() { FHost.Free(FData); }
  THostBuffer(const THostBuffer&) = delete;
  THostBuffer& operator=(const THostBuffer&) = delete;
  [[nodiscard]] char* Data() const { return FData; }

 private:
  const TBeckyAPI& FHost;
  char* FData;
};

// Hands the rewritten text back for `mail`: a buffer from the host's Alloc holding the text and a
// zero byte goes to SetSource and back to Free. Raises EReceivedMail when the host gives no buffer.
void HandBack(const TBeckyAPI& host, const char* mail, std::string_view text);

// A text too large to build twice, written straight into a buffer from the host's Alloc: `write`
// writes it once to count it and once more into the buffer, allocated at its exact size, with a
// zero byte after it.
[[nodiscard]] std::unique_ptr<THostBuffer> WriteHostText(
    const TBeckyAPI& host, const std::function<void(TLineWriter&)>& write);

// Hands a text written by WriteHostText back for `mail` (SetSource).
void HandBack(const TBeckyAPI& host, const char* mail, const THostBuffer& text);

}  // namespace vlm
