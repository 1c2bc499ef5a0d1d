#pragma once
// ISO-2022-JP, the transfer form of Japanese mail, into code page 932 (Shift-JIS), as the host's
// BKA_ISO_2022_JP decodes it.
#include <string>
#include <string_view>

namespace hostcodec {

// ESC $ B and ESC $ @ select JIS X 0208, whose byte pairs become Shift-JIS pairs; ESC ( B and
// ESC ( J select ASCII; ESC ( I, and SO up to SI, select half-width katakana. A line break
// returns to ASCII, so a line that never switched back cannot garble the rest of the message.
// Everything else, 8-bit bytes and unknown escapes included, is passed on unchanged.
std::string Iso2022JpToCp932(std::string_view text);

// One JIS X 0208 pair (both bytes 0x21 to 0x7E) as its Shift-JIS pair.
void JisToShiftJis(unsigned char first, unsigned char second, char out[2]);

}  // namespace hostcodec
