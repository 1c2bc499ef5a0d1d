#include <windows.h>

#include <stdexcept>

#include "base/ansi_text.h"

namespace vlm {
namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string ToNarrow(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring FromAnsi(std::string_view text) {
  return ToWide(CP_ACP, text);
}
std::string ToAnsi(std::wstring_view text) {
  return ToNarrow(CP_ACP, text);
}
bool IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}
std::optional<std::string> ToAnsiExact(std::wstring_view text) {
  if (text.empty()) return std::string();
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0, nullptr, &lossy);
  if (lossy || n <= 0) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      out.data(), n, nullptr, &lossy);
  if (lossy) return std::nullopt;
  return out;
}
std::wstring BestFitAnsi(std::wstring_view text) {
  // Without WC_NO_BEST_FIT_CHARS the conversion picks near characters and "?" for the rest.
  return FromAnsi(ToAnsi(text));
}
std::string ToShiftJis(std::wstring_view text) {
  return ToNarrow(932, text);
}
std::wstring FromUtf8(std::string_view text) {
  return ToWide(CP_UTF8, text);
}

std::wstring FromCodePage(unsigned codePage, std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) throw std::runtime_error("not text of that code page");
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                      out.data(), n);
  return out;
}

}  // namespace vlm
