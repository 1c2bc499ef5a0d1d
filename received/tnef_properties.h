#pragma once
// What a winmail.dat says beyond its attachments' titles and data records, read by walking its
// attribute records (level, identifier and type, length, value, checksum) from the start and the
// MAPI properties inside the property blocks:
// - for each attachment: its long name (PR_ATTACH_LONG_FILENAME, Unicode or 8-bit), its MIME type
//   (PR_ATTACH_MIME_TAG), how it is attached (PR_ATTACH_METHOD) and the data its property block
//   holds (PR_ATTACH_DATA_BIN, or PR_ATTACH_DATA_OBJ for an OLE object or a forwarded message);
// - for the message: its body (PR_RTF_COMPRESSED, PR_HTML with PR_INTERNET_CPID, PR_BODY or
//   attBody) and the header facts a forwarded message needs (subject, sender, recipients, date,
//   identifier);
// - the sender's code page (attOemCodepage), in which 8-bit texts are written.
// A forwarded message is itself a TNEF stream inside its attachment's property block; it is read
// the same way, to a fixed depth.
//
// The file comes from anyone: every length is checked against the block it stands in and never
// read past, counts are capped, and the walk stops quietly at the first record or property that
// does not fit, keeping what it read before. `Clean` says whether every record fitted.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vlm {

// A piece of the file: where it starts and how many bytes it has.
struct TTnefRange {
  std::uint64_t Offset = 0;
  std::uint64_t Size = 0;
};

// Reads `size` bytes of the winmail.dat from `at` into `out`; raises when it cannot.
using TTnefRead = std::function<void(std::uint64_t at, char* out, std::size_t size)>;

// A text property as stored: 8-bit in the sender's code page, or UTF-16LE.
struct TTnefText {
  TTnefRange Range;
  bool Unicode = false;
};

struct TTnefInfo;

struct TTnefAttachmentInfo {
  std::optional<std::uint64_t> DataOffset;  // where its attAttachData identifier stands
  std::optional<TTnefRange> Data;           // that record's value
  std::optional<TTnefRange> Title;          // its attAttachTitle's value, without the final zero
  std::optional<std::wstring> LongName;     // as the sender wrote it, decoded
  std::optional<std::wstring> DisplayName;  // PR_DISPLAY_NAME: a forwarded item's subject
  std::string MimeTag;                      // empty when none
  bool PropertiesRead = false;              // its attAttachment was seen
  std::uint32_t Method = 0;                 // PR_ATTACH_METHOD; 0 when not given
  // The data its property block holds; an OLE object's without the interface id before it.
  std::optional<TTnefRange> BlockData;
  // The forwarded message (attach method 5) that BlockData holds, when it reads as one.
  std::shared_ptr<const TTnefInfo> Embedded;
  // A forwarded message nested deeper than a message may hold.
  bool EmbeddedTooDeep = false;
};

// The message's body in the forms the sender gave.
struct TTnefBody {
  std::optional<TTnefRange> RtfCompressed;  // PR_RTF_COMPRESSED
  std::optional<TTnefRange> Html;           // PR_HTML, bytes in PR_INTERNET_CPID
  std::optional<TTnefText> Text;            // PR_BODY, else attBody
  std::optional<unsigned> InternetCodePage;

  [[nodiscard]] bool Any() const { return RtfCompressed || Html || Text; }
};

// What a forwarded message's header shows, decoded.
struct TTnefHeader {
  std::wstring Subject;
  std::wstring FromName;
  std::wstring FromAddress;
  std::wstring To;  // display names, "; " between them, as Outlook lists them
  std::wstring Cc;
  std::optional<std::uint64_t> SubmitTime;  // a FILETIME: 100 ns since 1601, UTC
  std::string MessageId;
  std::string MessageClass;
};

struct TTnefInfo {
  std::optional<unsigned> CodePage;  // from attOemCodepage
  std::vector<TTnefAttachmentInfo> Attachments;
  TTnefBody Body;
  TTnefHeader Header;
  // The stream began with the TNEF signature and every record fitted, to its last byte: nothing
  // a byte scan might find lies outside the records read.
  bool Clean = false;

  // The attachment whose attAttachData identifier stands at `dataOffset`; null when none does.
  // Looked up once per attachment: a file of many thousand attachments must not be searched
  // through for each, so the lookup goes through an index that IndexByData makes.
  [[nodiscard]] const TTnefAttachmentInfo* ForData(std::uint64_t dataOffset) const;
  // Makes the index of Attachments by data offset; done by ReadTnefInfo.
  void IndexByData();

 private:
  std::vector<std::pair<std::uint64_t, std::size_t>> FByData;  // sorted by offset
};

// How deep forwarded messages may nest inside one another.
inline constexpr unsigned kMaxTnefNesting = 8;

// Reads the file at `path`; an empty result when it cannot be opened or is no TNEF stream.
[[nodiscard]] TTnefInfo ReadTnefInfo(const std::filesystem::path& path);
// The same for a file already in memory.
[[nodiscard]] TTnefInfo ReadTnefInfo(std::string_view bytes);

// A title or name in the sender's 8-bit code page; the local code page when the file names none
// or one the system lacks. Bytes that form no text there become '_'.
[[nodiscard]] std::wstring SenderText(std::string_view bytes, std::optional<unsigned> codePage);

// How much of an attachment title is read: a longer one is shortened to a file name anyway, so
// reading no more keeps the memory titles take small whatever the file claims.
inline constexpr std::size_t kMaxTitleBytes = 1024;

// A title's bytes as text: up to the first zero byte, where Windows would end the name, read as
// SenderText reads them.
[[nodiscard]] std::wstring TitleText(std::string bytes, std::optional<unsigned> codePage);

// UTF-16LE up to its first zero unit, as wide text.
[[nodiscard]] std::wstring FromUtf16Le(std::string_view bytes);

}  // namespace vlm
