#pragma once
// The bytes of one attachment of the outgoing message, decoded from the base64 lines of its part.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace vlm {

// Decodes the body of the part whose header holds the line at `from` (an offset in `message`):
// the header runs to the first empty line, the body from there to the next empty line, a line
// beginning with "-" (the boundary) or the end of the text. Nothing when the body is not clean
// base64 or decodes to more than `limit` bytes: the walk stops there and reads no further.
[[nodiscard]] std::optional<std::vector<unsigned char>> DecodePartBody(std::string_view message,
                                                                       std::size_t from,
                                                                       std::size_t limit);

}  // namespace vlm
