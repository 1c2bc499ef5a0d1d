#pragma once
#include <string>

namespace host {
// Skips anything outside the alphabet (line breaks, blanks); stops at padding.
std::string DecodeBase64(const std::string& text);
}  // namespace host
