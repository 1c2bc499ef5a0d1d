#pragma once
// The date bounds of packing (options jo and job): YYMMDD, YYMMDDhhmmss, YYYYMMDD or
// YYYYMMDDhhmmss, optionally after an "l".
#include <cstdint>
#include <string>
#include <string_view>

namespace vlm {

// A local date and time as the number YYYYMMDDhhmmss, so that stamps compare as times do.
// 0 means "no bound".
using TDateStamp = std::int64_t;

constexpr TDateStamp MakeDateStamp(int year, int month, int day, int hour, int minute, int second) {
  return ((((static_cast<TDateStamp>(year) * 100 + month) * 100 + day) * 100 + hour) * 100 +
          minute) *
             100 +
         second;
}

// How two-digit years are read: the platform's century window setting and the current year.
struct TCenturyWindow {
  int currentYear;
  int window;
};

// The bound the option text stands for, the time part taken from `defaultTime` ("hhmmss") when
// the text has none. Any other length, the unset marker included, gives 0 (no bound). Throws
// EArchiver when a text of a valid length is not a valid date and time, rather than silently
// packing without the bound the user asked for.
TDateStamp ParseDateOption(const std::wstring& text, std::wstring_view defaultTime,
                           TCenturyWindow century);

}  // namespace vlm
