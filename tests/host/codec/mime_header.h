#pragma once
// Header texts with RFC 2047 encoded words ("=?charset?B?...?=", "=?charset?Q?...?="), decoded
// into code page 932 as the host's BKA_MIMEHeader does.
#include <functional>
#include <string>
#include <string_view>

namespace hostcodec {

// UTF-8 into code page 932, characters without a mapping replaced. Code page 932 needs a table:
// the host passes the system's converter, the native tests one built on iconv.
using Utf8ToCp932 = std::function<std::string(std::string_view utf8)>;

struct DecodedHeader {
  std::string text;     // code page 932
  std::string charset;  // as the first decoded word names it; empty when nothing was decoded
};

// Decodes the encoded words in ISO-2022-JP, Shift_JIS (and its aliases), UTF-8, US-ASCII and
// ISO-8859-1. Whitespace between two encoded words is dropped, and the bytes of adjacent words of
// one charset are converted together, so a character split across words survives. A word that
// is malformed or in another charset is left as it stands.
DecodedHeader DecodeMimeHeader(std::string_view header, const Utf8ToCp932& fromUtf8);

}  // namespace hostcodec
