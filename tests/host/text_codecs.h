#pragma once
// The host's decoders of mail text, into the system code page (932).
#include <string>

namespace host {
std::string DecodeIso2022Jp(const std::string& text);
std::string DecodeMimeHeader(const std::string& text);
}  // namespace host
