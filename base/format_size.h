#pragma once
#include <cstdint>
#include <string>

namespace vlm {

// A byte count as "<n>Byte", "<n>kByte", "<n>MByte" or "<n>GByte", without a space. The kilobyte
// and gigabyte figures are the truncated quotient plus one, the megabyte figure the truncated
// quotient; thresholds 10240 bytes, 10240 kByte and 11264 MByte.
std::wstring FormatSize(std::int64_t bytes);

}  // namespace vlm
