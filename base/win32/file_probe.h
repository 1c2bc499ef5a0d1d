#pragma once
// What the file system says about one path.
#include <cstdint>
#include <string>

namespace vlm {

// Size of the first entry matching `path` (folders included), or -1.
[[nodiscard]] std::int64_t FileSizeOf(const std::wstring& path);

}  // namespace vlm
