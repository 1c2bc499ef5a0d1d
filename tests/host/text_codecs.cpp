#include "tests/host/text_codecs.h"

#include "tests/host/codec/iso2022jp.h"
#include "tests/host/codec/mime_header.h"
#include "tests/host/codec/win32/utf8_to_cp932.h"

namespace host {
std::string DecodeIso2022Jp(const std::string& text) {
  return hostcodec::Iso2022JpToCp932(text);
}
std::string DecodeMimeHeader(const std::string& text) {
  return hostcodec::DecodeMimeHeader(text, hostcodec::Utf8ToCp932Windows).text;
}
}  // namespace host
