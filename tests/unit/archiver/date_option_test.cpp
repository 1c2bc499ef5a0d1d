#include <gtest/gtest.h>

#include "archiver/archiver_errors.h"
#include "archiver/date_option.h"
#include "base/ansi_text.h"

namespace vlm {
namespace {

struct Case {
  std::wstring text;
  const wchar_t* defaultTime;
  TCenturyWindow century;
  TDateStamp expected;
};

TEST(ParseDateOption, LengthsDefaultTimesAndCenturyWindow) {
  const TCenturyWindow w50{2024, 50}, w0{2024, 0};
  const Case cases[] = {
      {L"240315", L"000000", w50, MakeDateStamp(2024, 3, 15, 0, 0, 0)},
      {L"240315", L"235959", w50, MakeDateStamp(2024, 3, 15, 23, 59, 59)},
      {L"l240315", L"000000", w50, MakeDateStamp(2024, 3, 15, 0, 0, 0)},
      {L"240315123456", L"235959", w50, MakeDateStamp(2024, 3, 15, 12, 34, 56)},
      {L"20240229", L"000000", w50, MakeDateStamp(2024, 2, 29, 0, 0, 0)},
      {L"19991231235958", L"000000", w50, MakeDateStamp(1999, 12, 31, 23, 59, 58)},
      // Window 50 in 2024: years from 1974 on. 73 is past the window's start, so 2073.
      {L"740101", L"000000", w50, MakeDateStamp(1974, 1, 1, 0, 0, 0)},
      {L"730101", L"000000", w50, MakeDateStamp(2073, 1, 1, 0, 0, 0)},
      // Window 0: the current century, nothing added.
      {L"990101", L"000000", w0, MakeDateStamp(2099, 1, 1, 0, 0, 0)},
      // Other lengths: no bound.
      {L"2403151", L"000000", w50, 0},
      {std::wstring(1, L'\0'), L"000000", w50, 0},
      {L"-1", L"000000", w50, 0},
      {L"", L"000000", w50, 0},
      {L"l", L"000000", w50, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseDateOption(c.text, c.defaultTime, c.century), c.expected)
        << ToUtf8(c.text) << " window " << c.century.window;
  }
}

TEST(ParseDateOption, MalformedDatesRaiseInsteadOfDroppingTheBound) {
  for (const wchar_t* text :
       {L"24a315", L"241315", L"230229", L"240431", L"240315246000", L"-10315", L"20240230"}) {
    EXPECT_THROW(ParseDateOption(text, L"000000", {2024, 50}), EArchiver) << ToUtf8(text);
  }
}

}  // namespace
}  // namespace vlm
