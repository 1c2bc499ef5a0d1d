#pragma once
// Numbers the user types into the settings and what they read as: what Save accepts is what the
// drop handling reads, to the same number. One table, run natively and in the Windows build under
// Wine (tests/unit_wine), whose C runtime counts full-width and Arabic-Indic digits as digits.
#include <optional>

namespace vlm::test {

struct NumberTextCase {
  const wchar_t* text;
  wchar_t separator;
  std::optional<double> value;  // what the drop handling reads; nothing: Save refuses the text
};

inline const NumberTextCase kNumberTextCases[] = {
    {L"1", L'.', 1.0},     {L"1.5", L'.', 1.5}, {L"1,5", L'.', {}},     {L"1,5", L',', 1.5},
    {L"abc", L'.', {}},    {L"", L'.', {}},     {L".5", L'.', 0.5},     {L"-2", L'.', -2.0},
    {L" 3 ", L'.', 3.0},   {L"1e3", L'.', 1e3}, {L"1e", L'.', {}},      {L".", L'.', {}},
    {L"１０", L'.', {}},   {L"١٠", L'.', {}},   {L"۱", L'.', {}},       {L"1e400", L'.', {}},
    {L"-1e400", L'.', {}}, {L"1e１", L'.', {}}, {L"1\x3000", L'.', {}},  // not a blank
};

}  // namespace vlm::test
