#pragma once
// The system's UTF-8 to code page 932 conversion, for the host's header decoder.
#include <string>
#include <string_view>

namespace hostcodec {

// Characters without a mapping in code page 932 become the system's default character.
std::string Utf8ToCp932Windows(std::string_view utf8);

}  // namespace hostcodec
