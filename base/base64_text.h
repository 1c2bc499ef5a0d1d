#pragma once
// Base64 as a MIME body carries it (RFC 2045): lines of 76 characters, each ended by CRLF.
#include <cstddef>
#include <string>
#include <string_view>

namespace vlm {

// The bytes of one line of base64 text: a piece of this many bytes (or a multiple) encodes into
// whole lines, so a long value can be encoded piece by piece.
inline constexpr std::size_t kBase64LineBytes = 57;

// Appends the encoding of `bytes` to `out`, a CRLF after every 76 characters and after the last.
void AppendBase64Lines(std::string& out, std::string_view bytes);

}  // namespace vlm
