#include "received/host_hand_back.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "received/received_mail_error.h"

namespace vlm {

THostBuffer::THostBuffer(const TBeckyAPI& host, size_t size) : FHost(host) {
  if (size >= std::numeric_limits<std::uint32_t>::max())
    throw EReceivedMail("message too large for a host buffer");
  FData = static_cast<char*>(host.Alloc(static_cast<std::uint32_t>(size)));
  if (!FData) throw EReceivedMail("the host gave no buffer");
}

void HandBack(const TBeckyAPI& host, const char* mail, std::string_view text) {
  const THostBuffer buffer(host, text.size() + 1);
  std::memcpy(buffer.Data(), text.data(), text.size());
  buffer.Data()[text.size()] = '\0';
  host.SetSource(mail, buffer.Data());
}

std::unique_ptr<THostBuffer> WriteHostText(const TBeckyAPI& host,
                                           const std::function<void(TLineWriter&)>& write) {
  TLineWriter counter = TLineWriter::Counting();
  write(counter);
  auto buffer = std::make_unique<THostBuffer>(host, counter.Size() + 1);
  TLineWriter out(buffer->Data(), counter.Size());
  write(out);
  buffer->Data()[out.Size()] = '\0';
  return buffer;
}

void HandBack(const TBeckyAPI& host, const char* mail, const THostBuffer& text) {
  host.SetSource(mail, text.Data());
}

}  // namespace vlm
