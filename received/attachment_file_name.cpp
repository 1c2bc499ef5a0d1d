#include "received/attachment_file_name.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cwctype>

#include "base/ansi_text.h"
#include "base/code_page_name.h"
#include "base/files.h"

namespace vlm {
namespace {

// Long enough for any real attachment title, short enough for one path component on NTFS
// (255 UTF-16 units) and on POSIX file systems (255 bytes), with room for a " (n)" suffix.
constexpr size_t kMaxNameBytes = 200;
constexpr size_t kMaxExtensionChars = 16;

bool IsForbidden(wchar_t c) {
  return c < 0x20 || c == 0x7F ||
         std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
}

size_t Utf8Length(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  return u < 0x80 ? 1 : u < 0x800 ? 2 : u < 0x10000 ? 3 : 4;
}

size_t Utf8Length(std::wstring_view text) {
  size_t n = 0;
  for (wchar_t c : text) n += Utf8Length(c);
  return n;
}

std::wstring Upper(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
  return out;
}

void TrimTrailingDotsAndSpaces(std::wstring& name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
}

// Windows takes the superscript digits for port numbers too ("COM¹").
bool IsPortDigit(wchar_t c) {
  return (c >= L'0' && c <= L'9') || c == L'\u00B9' || c == L'\u00B2' || c == L'\u00B3';
}

// Windows opens a device for these names whatever extension follows ("con.txt", "NUL .log").
bool IsReservedDeviceName(std::wstring_view name) {
  std::wstring base = Upper(name.substr(0, name.find(L'.')));
  while (!base.empty() && base.back() == L' ') base.pop_back();
  static constexpr std::array<std::wstring_view, 6> kDevices = {L"CON", L"PRN",    L"AUX",
                                                                L"NUL", L"CONIN$", L"CONOUT$"};
  if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) return true;
  return base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) &&
         IsPortDigit(base[3]);
}

// Splits at the last dot that is not the first character, so ".profile" has no extension.
size_t ExtensionStart(std::wstring_view name) {
  const size_t dot = name.rfind(L'.');
  return dot == std::wstring_view::npos || dot == 0 ? name.size() : dot;
}

std::wstring Shorten(const std::wstring& name) {
  if (Utf8Length(name) <= kMaxNameBytes) return name;
  size_t split = ExtensionStart(name);
  if (name.size() - split > kMaxExtensionChars) split = name.size();
  const std::wstring extension = name.substr(split);
  std::wstring stem;
  size_t budget = kMaxNameBytes - Utf8Length(extension);
  for (size_t i = 0; i < split && Utf8Length(name[i]) <= budget; ++i) {
    budget -= Utf8Length(name[i]);
    stem += name[i];
  }
  TrimTrailingDotsAndSpaces(stem);
  return stem.empty() ? std::wstring() : stem + extension;
}

}  // namespace

std::wstring SafeFileName(std::wstring_view title) {
  std::wstring name(title);
  for (auto& c : name)
    if (IsForbidden(c)) c = L'_';
  // Windows drops trailing dots and spaces when it opens a file; dropping them here keeps the
  // name we report equal to the name on disk and turns "." and ".." into nothing.
  TrimTrailingDotsAndSpaces(name);
  name = Shorten(name);
  if (!name.empty() && IsReservedDeviceName(name)) name.insert(0, 1, L'_');
  return name;
}

std::filesystem::path FileInFolder(const std::filesystem::path& folder, std::wstring_view name) {
  return folder / FilePath(name);
}

std::string AnsiFileName(std::wstring_view name) {
  if (auto exact = ToAnsiExact(name)) return *exact;
  const std::wstring bestFit = BestFitAnsi(name);
  std::string ansi;
  for (size_t i = 0; i < name.size(); ++i) {
    // A best-fit form is taken only when it is one character for one, a character that has an
    // exact form itself, and nothing a file name may not hold ("?" is what the system gives for
    // no form at all).
    const wchar_t fit = bestFit.size() == name.size() ? bestFit[i] : L'?';
    const auto exact = ToAnsiExact(std::wstring_view(&name[i], 1));
    const auto fitted = ToAnsiExact(std::wstring_view(&fit, 1));
    if (exact)
      ansi += *exact;
    else if (fitted && fit >= 0x20 &&
             std::wstring_view(L"<>:\"/\\|?*").find(fit) == std::wstring_view::npos)
      ansi += *fitted;
    else
      ansi += '_';
  }
  // Best-fit can make a device name of one that was none ("COM¹.txt" would open a port as
  // "COM1.txt").
  if (IsReservedDeviceName(FromAnsi(ansi))) ansi.insert(0, 1, '_');
  return ansi;
}

namespace {

// "type/subtype" of token characters, as a Content-Type needs it.
bool IsMimeType(std::string_view type) {
  const auto token = [](std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) {
      const auto u = static_cast<unsigned char>(c);
      return u > 0x20 && u < 0x7F &&
             std::string_view("()<>@,;:\\\"/[]?=").find(c) == std::string_view::npos;
    });
  };
  const size_t slash = type.find('/');
  return slash != std::string_view::npos && token(type.substr(0, slash)) &&
         token(type.substr(slash + 1));
}

}  // namespace

std::string MimeTypeForName(const TMailTools& tools, const std::wstring& name,
                            std::string_view mimeTag) {
  const size_t dot = name.rfind(L'.');
  const std::wstring type = tools.MimeTypeOf(dot == std::wstring::npos ? L"" : name.substr(dot));
  if (!type.empty())
    if (auto ansi = ToAnsiExact(type); ansi && IsMimeType(*ansi)) return *ansi;
  if (IsMimeType(mimeTag)) return std::string(mimeTag);
  return "application/octet-stream";
}

}  // namespace vlm
