#include "received/header_text.h"

#include <algorithm>
#include <cstdio>

#include "base/ansi_text.h"
#include "base/base64_text.h"

namespace vlm {
namespace {

// UTF-8 bytes of one encoded word: 45 bytes are 60 base64 characters, which with
// "=?utf-8?B?" and "?=" stay within the 75 RFC 2047 allows.
constexpr std::size_t kWordBytes = 45;

bool IsPrintableAscii(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x20 && c < 0x7F; });
}

// Where a piece of at most kWordBytes may end without cutting a UTF-8 sequence.
std::size_t PieceEnd(std::string_view utf8, std::size_t from) {
  std::size_t end = std::min(utf8.size(), from + kWordBytes);
  while (end < utf8.size() && end > from && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
    --end;
  return end;
}

std::string Base64(std::string_view bytes) {
  std::string lines;
  AppendBase64Lines(lines, bytes);
  lines.erase(std::remove(lines.begin(), lines.end(), '\r'), lines.end());
  lines.erase(std::remove(lines.begin(), lines.end(), '\n'), lines.end());
  return lines;
}

}  // namespace

std::string EncodedHeaderText(std::wstring_view text) {
  std::wstring clean(text);
  std::replace_if(
      clean.begin(), clean.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; }, L' ');
  if (IsPrintableAscii(clean)) return ToUtf8(clean);
  const std::string utf8 = ToUtf8(clean);
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t end = PieceEnd(utf8, at);
    if (!out.empty()) out += "\r\n ";
    out += "=?utf-8?B?" + Base64(std::string_view(utf8).substr(at, end - at)) + "?=";
    at = end;
  }
  return out;
}

std::string MailDate(std::uint64_t fileTime) {
  static constexpr const char* kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::uint64_t seconds = fileTime / 10000000ULL;
  const long long days = static_cast<long long>(seconds / 86400);  // since Monday 1601-01-01
  const unsigned secondOfDay = static_cast<unsigned>(seconds % 86400);
  // Civil date from days since 0000-03-01, shifted from 1601-01-01.
  const long long z = days + 584694;
  const long long era = z / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %d %s %04lld %02u:%02u:%02u +0000", kDays[days % 7], day,
                kMonths[month - 1], year, secondOfDay / 3600, secondOfDay / 60 % 60,
                secondOfDay % 60);
  return text;
}

}  // namespace vlm
