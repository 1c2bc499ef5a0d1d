#pragma once
#include <cstdint>
#include <optional>
#include <string>

// A module's version as its version resource states it.
struct TVersion {
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::uint32_t Revision = 0;
  std::uint32_t Build = 0;
  std::wstring VersionString1;  // "1.009" for 1.0.0.9: part 1, ".", parts 2 to 4 run together
  std::wstring VersionString2;  // the value as stored
};

namespace vlm {

// Parses a FileVersion value of four dot-separated decimal parts ("1.0.0.9"). Any other shape
// yields nothing, and the caller keeps its record unchanged.
[[nodiscard]] std::optional<TVersion> ParseFileVersion(const std::wstring& value);

}  // namespace vlm
