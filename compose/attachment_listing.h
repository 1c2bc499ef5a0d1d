#pragma once
// The short listing written into the message body with an attachment: a blank line, the user's
// wording, then the attached name with its size. Each attachment brings its own wording line.
#include <cstdint>
#include <string>

namespace vlm {

// "\r\n" wording "\r\n" name "\t(" size ")\r\n"
std::wstring UnchangedListing(const std::wstring& wording, const std::wstring& name,
                              std::int64_t size);
// "\r\n" wording "\r\n" name " in " archive "\t(" size before " -> " archive size ")\r\n"
std::wstring CompressedListing(const std::wstring& wording, const std::wstring& name,
                               const std::wstring& archiveName, std::int64_t sizeBefore,
                               std::int64_t archiveSize);

}  // namespace vlm
