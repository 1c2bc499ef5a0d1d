#include "compose/attachment_listing.h"

#include "base/format_size.h"

namespace vlm {

std::wstring UnchangedListing(const std::wstring& wording, const std::wstring& name,
                              std::int64_t size) {
  return L"\r\n" + wording + L"\r\n" + name + L"\t(" + FormatSize(size) + L")\r\n";
}

std::wstring CompressedListing(const std::wstring& wording, const std::wstring& name,
                               const std::wstring& archiveName, std::int64_t sizeBefore,
                               std::int64_t archiveSize) {
  return L"\r\n" + wording + L"\r\n" + name + L" in " + archiveName + L"\t(" +
         FormatSize(sizeBefore) + L" -> " + FormatSize(archiveSize) + L")\r\n";
}

}  // namespace vlm
