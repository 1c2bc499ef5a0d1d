#include "base/version.h"

#include <vector>

namespace vlm {
namespace {

std::optional<std::uint32_t> ParseDecimal(const std::wstring& part) {
  if (part.empty() || part.size() > 9) return std::nullopt;
  std::uint32_t value = 0;
  for (wchar_t c : part) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - L'0');
  }
  return value;
}

}  // namespace

std::optional<TVersion> ParseFileVersion(const std::wstring& value) {
  std::vector<std::wstring> parts(1);
  for (wchar_t c : value) {
    if (c == L'.')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() != 4) return std::nullopt;
  std::uint32_t numbers[4];
  for (size_t i = 0; i < 4; ++i) {
    const auto n = ParseDecimal(parts[i]);
    if (!n) return std::nullopt;
    numbers[i] = *n;
  }
  TVersion version;
  version.Major = numbers[0];
  version.Minor = numbers[1];
  version.Revision = numbers[2];
  version.Build = numbers[3];
  version.VersionString1 = parts[0] + L"." + parts[1] + parts[2] + parts[3];
  version.VersionString2 = value;
  return version;
}

}  // namespace vlm
