#pragma once
// The host's base64 conversion (B64Convert) through work files, with its output checked: the host
// reports nothing about a conversion, so an output that cannot be right raises EReceivedMail
// instead of reaching a stored message.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/host_api.h"
#include "base/mapped_file.h"

namespace vlm {

// How many bytes base64 text decodes to, given in pieces (lines, or text that holds line breaks);
// nothing when it is not clean base64 (a character outside the alphabet, padding inside the
// text, or a length that is no multiple of four).
class TBase64Count {
 public:
  void Add(std::string_view text);
  [[nodiscard]] std::optional<std::uint64_t> DecodedSize() const;

 private:
  void AddSlowly(std::string_view text);

  std::uint64_t FLetters = 0;
  unsigned FPadding = 0;
  bool FClean = true;
};

// Decodes the base64 file `input` into `output` through the host's B64Convert and checks that
// `output` holds `expectedSize` bytes.
void HostDecode(const TBeckyAPI& host, const std::string& output, const std::string& input,
                std::uint64_t expectedSize);

// The base64 text the host wrote into a work file, mapped into memory rather than read: the
// files of one expansion can add up to tens of megabytes. The work file must stay until this
// is gone.
class THostBase64 {
 public:
  explicit THostBase64(const std::filesystem::path& path) : FFile(path) {}
  [[nodiscard]] std::string_view Text() const {
    return FFile.Data() ? std::string_view(FFile.Data(), FFile.Size()) : std::string_view();
  }

 private:
  TMappedFile FFile;
};

// Encodes the file `input` into the work file `output` through the host's B64Convert (the work
// file is deleted first) and returns the base64 text the host wrote, checked against the size of
// `input`.
[[nodiscard]] std::unique_ptr<THostBase64> HostEncode(const TBeckyAPI& host,
                                                      const std::string& output,
                                                      const std::string& input);

}  // namespace vlm
