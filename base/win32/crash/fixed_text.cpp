#include "base/win32/crash/fixed_text.h"

namespace vlm {

TFixedText::TFixedText(wchar_t* buffer, std::size_t capacity) noexcept
    : buffer_(buffer), capacity_(capacity) {
  if (capacity_ > 0) buffer_[0] = L'\0';
}

void TFixedText::Clear() noexcept {
  length_ = 0;
  if (capacity_ > 0) buffer_[0] = L'\0';
}

TFixedText& TFixedText::Add(wchar_t c) noexcept {
  if (length_ + 1 < capacity_) {
    buffer_[length_++] = c;
    buffer_[length_] = L'\0';
  }
  return *this;
}

TFixedText& TFixedText::Add(const wchar_t* text, std::size_t length) noexcept {
  for (std::size_t i = 0; text && i < length && text[i]; ++i) Add(text[i]);
  return *this;
}

TFixedText& TFixedText::Add(const wchar_t* text) noexcept {
  while (text && *text) Add(*text++);
  return *this;
}

TFixedText& TFixedText::AddAnsi(const char* text, bool utf8) noexcept {
  if (!text || capacity_ <= length_ + 1) return *this;
  const int room = static_cast<int>(capacity_ - length_ - 1);
  const int written =
      MultiByteToWideChar(utf8 ? CP_UTF8 : CP_ACP, 0, text, -1, buffer_ + length_, room + 1);
  if (written > 0) {
    length_ += static_cast<std::size_t>(written - 1);  // the converted NUL is not text
  } else {
    // Too long for the rest of the buffer: keep what fits byte by byte as ASCII.
    for (; *text && length_ + 1 < capacity_; ++text)
      Add(static_cast<unsigned char>(*text) < 0x80 ? static_cast<wchar_t>(*text) : L'?');
  }
  buffer_[length_] = L'\0';
  return *this;
}

TFixedText& TFixedText::AddDecimal(std::uint32_t value, int minimumDigits) noexcept {
  wchar_t digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int i = count; i < minimumDigits; ++i) Add(L'0');
  while (count > 0) Add(digits[--count]);
  return *this;
}

TFixedText& TFixedText::AddHex(std::uint32_t value, int digits) noexcept {
  Add(L"0x");
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    Add(L"0123456789ABCDEF"[(value >> shift) & 0xF]);
  return *this;
}

}  // namespace vlm
