#pragma once
#include <string>

namespace host {
// Base64 with CR LF after every 76 characters (and after the last line).
std::string EncodeBase64Lines(const std::string& data);
// Skips anything outside the alphabet (line breaks, blanks); stops at padding.
std::string DecodeBase64(const std::string& text);
}  // namespace host
