#pragma once
// Text built into a buffer its owner reserved beforehand: crash reports are written while the
// heap may be the thing that broke, so nothing here allocates. Text that does not fit is cut off.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace vlm {

class TFixedText {
 public:
  TFixedText(wchar_t* buffer, std::size_t capacity) noexcept;

  TFixedText& Add(const wchar_t* text) noexcept;
  TFixedText& Add(const wchar_t* text, std::size_t length) noexcept;
  // Text in the system code page, or UTF-8 when `utf8` is set.
  TFixedText& AddAnsi(const char* text, bool utf8 = false) noexcept;
  TFixedText& AddDecimal(std::uint32_t value, int minimumDigits = 1) noexcept;
  // "0x" followed by `digits` upper-case hexadecimal digits.
  TFixedText& AddHex(std::uint32_t value, int digits = 8) noexcept;
  TFixedText& Line() noexcept { return Add(L"\r\n"); }

  void Clear() noexcept;
  [[nodiscard]] const wchar_t* Text() const noexcept { return buffer_; }
  [[nodiscard]] std::size_t Length() const noexcept { return length_; }

 private:
  TFixedText& Add(wchar_t c) noexcept;

  wchar_t* buffer_;
  std::size_t capacity_;  // characters, the terminating NUL included
  std::size_t length_ = 0;
};

}  // namespace vlm
