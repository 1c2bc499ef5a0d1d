#include "archiver/date_option.h"

#include "archiver/archiver_errors.h"

namespace vlm {
namespace {

[[noreturn]] void ThrowInvalidDate(const std::wstring& text) {
  throw EArchiver(L"'" + text + L"' は正しい日付ではありません。");
}

// The decimal value of text[pos, pos + count); -1 when a character is not a digit.
int Digits(std::wstring_view text, size_t pos, size_t count) {
  int value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return -1;
    value = value * 10 + (text[i] - L'0');
  }
  return value;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int ExpandTwoDigitYear(int yy, TCenturyWindow century) {
  const int pivot = century.currentYear - century.window;
  int year = yy + (pivot / 100) * 100;
  if (century.window != 0 && year < pivot) year += 100;
  return year;
}

}  // namespace

TDateStamp ParseDateOption(const std::wstring& text, std::wstring_view defaultTime,
                           TCenturyWindow century) {
  std::wstring date = text;
  if (date.size() > 1 && date.front() == L'l') date.erase(0, 1);
  const size_t yearDigits = (date.size() == 8 || date.size() == 14) ? 4 : 2;
  if (date.size() != 6 && date.size() != 8 && date.size() != 12 && date.size() != 14) return 0;
  if (date.size() == 6 || date.size() == 8) date += defaultTime;
  if (date.size() != yearDigits + 10) ThrowInvalidDate(text);

  int year = Digits(date, 0, yearDigits);
  const int month = Digits(date, yearDigits, 2), day = Digits(date, yearDigits + 2, 2);
  const int hour = Digits(date, yearDigits + 4, 2), minute = Digits(date, yearDigits + 6, 2);
  const int second = Digits(date, yearDigits + 8, 2);
  if (year < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59) {
    ThrowInvalidDate(text);
  }
  if (yearDigits == 2) year = ExpandTwoDigitYear(year, century);
  if (year < 1 || day > DaysInMonth(year, month)) ThrowInvalidDate(text);
  return MakeDateStamp(year, month, day, hour, minute, second);
}

}  // namespace vlm
