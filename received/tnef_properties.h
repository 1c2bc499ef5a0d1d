#pragma once
// What a winmail.dat says about its attachments beyond their titles: the attachment's own long
// name (PR_ATTACH_LONG_FILENAME, Unicode or 8-bit) and its MIME type (PR_ATTACH_MIME_TAG) from
// each attachment's property block (attAttachment), and the sender's code page (attOemCodepage)
// in which 8-bit names are written.
//
// Unlike the title scan, this walks the attribute records from the start of the file (level,
// identifier and type, length, value, checksum) and the MAPI properties inside each block. The
// file comes from anyone: the walk stops quietly at the first record or property that does not
// fit, keeping what it read before, and never reads past the end of the file.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vlm {

struct TTnefAttachmentInfo {
  std::optional<std::uint64_t> DataOffset;  // where its attAttachData identifier stands
  std::optional<std::wstring> LongName;     // as the sender wrote it, decoded
  std::string MimeTag;                      // empty when none
  bool PropertiesRead = false;              // its attAttachment was seen
};

struct TTnefInfo {
  std::optional<unsigned> CodePage;  // from attOemCodepage
  std::vector<TTnefAttachmentInfo> Attachments;

  // The attachment whose attAttachData identifier stands at `dataOffset`; null when none does.
  // Looked up once per attachment: a file of many thousand attachments must not be searched
  // through for each, so the lookup goes through an index that IndexByData makes.
  [[nodiscard]] const TTnefAttachmentInfo* ForData(std::uint64_t dataOffset) const;
  // Makes the index of Attachments by data offset; done by ReadTnefInfo.
  void IndexByData();

 private:
  std::vector<std::pair<std::uint64_t, std::size_t>> FByData;  // sorted by offset
};

// Reads the file at `path`; an empty result when it cannot be opened or is no TNEF stream.
[[nodiscard]] TTnefInfo ReadTnefInfo(const std::filesystem::path& path);
// The same for a file already in memory.
[[nodiscard]] TTnefInfo ReadTnefInfo(std::string_view bytes);

// A title or name in the sender's 8-bit code page; the local code page when the file names none
// or one the system lacks. Bytes that form no text there become '_'.
[[nodiscard]] std::wstring SenderText(std::string_view bytes, std::optional<unsigned> codePage);

}  // namespace vlm
