#pragma once
// Writes what a winmail.dat (TNEF) file carries into a folder, one file each: its attachments,
// the messages forwarded in it (as RFC 822 messages, ".eml") and its body ("message.html",
// "message.txt" or "message.rtf", see tnef_body.h).
//
// A file whose attribute records walk cleanly from its signature to its last byte (see
// tnef_properties.h) is taken as that structure: each attachment's data from its attAttachData
// record or, where it has none, from its property block, and a forwarded message from its
// property block, with nothing pulled up out of it.
//
// Any other file is scanned byte by byte for the identifiers of attAttachTitle (10 80 01 00) and
// attAttachData (0F 80 06 00), and the length and value behind each match are taken. Offset 0 is
// never a match, a pattern inside a value counts, a title is its value without the last byte, and
// the i-th title names the i-th data value.
//
// An attachment's long name from its property block names its file when there is one, as every
// other decoder shows it; the title is the fallback.
//
// The file comes from anyone on the internet, so a title is only ever used as a bare file name
// inside the folder, a missing or unusable title gets the name "attachment<n>", equal titles get
// numbered names, and a length running past the end of the file stops the conversion before
// anything is written.
//
// The file is read once. When the system maps it, the scan runs over the mapping and each data
// value is then written from it straight under its name, copied by the system from file to file
// where it can (TMappedFile::WriteRange). Otherwise it is read through a buffer
// of fixed size and the data values are written to temporary files as the scan passes over them,
// renamed once their names are known, so memory does not grow with the file either way.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/mapped_file.h"
#include "received/tnef_errors.h"
#include "received/tnef_properties.h"

namespace vlm {

class TTNEFConvert {
 public:
  // The size of the buffer through which the file is read; tests pass small ones so that records
  // fall across its edges.
  static constexpr size_t kDefaultBufferSize = 1 << 18;
  // The most attachments taken from one file.
  static constexpr size_t kMaxAttachments = 1000;
  // The attachments of one file hold at most twice its size and a megabyte (a little room for
  // values that nest), and never more than the host's address space can take as base64 twice.
  static constexpr std::uint64_t kMaxTotalBytes = 256ull << 20;

  // Mapped where the system maps the file; Buffered reads it through the buffer as a file too
  // large to map is read (tests choose it to reach that path).
  enum class TReading { MappedWhenPossible, Buffered };

  // Opens the file; raises ETNEFConvert when it cannot be opened.
  explicit TTNEFConvert(const std::filesystem::path& TNEFFileName,
                        size_t bufferSize = kDefaultBufferSize,
                        TReading reading = TReading::MappedWhenPossible);
  ~TTNEFConvert();
  TTNEFConvert(const TTNEFConvert&) = delete;
  TTNEFConvert& operator=(const TTNEFConvert&) = delete;

  // Writes every attachment, forwarded message and the body into TempFolder and appends the bare
  // name of each written file to ResultFile, in file order, the body last (the file is
  // FileInFolder(TempFolder, name)). False, with nothing written, when the file holds none of
  // them. Raises ETNEFConvert for a malformed file or a write failure.
  bool Convert(std::vector<std::wstring>& ResultFile, const std::filesystem::path& TempFolder);

  // Whether attachments are named by the long name in their property block (the default) or,
  // as senders' 8.3 titles garble them, only by their titles.
  void SetLongFileNames(bool on) { FLongFileNames = on; }
  // The PR_ATTACH_MIME_TAG of each file the last Convert wrote, in the same order; empty where
  // the attachment gives none or long names are off.
  [[nodiscard]] const std::vector<std::string>& MimeTags() const { return FMimeTags; }
  // The whole Content-Type of each file the conversion made itself (a body with its charset, a
  // forwarded message), in the same order; empty for the sender's files.
  [[nodiscard]] const std::vector<std::string>& ContentTypes() const { return FContentTypes; }
  // Whether the body is written (the INI key TnefBody), and whether as text too: a message that
  // shows a text part of its own needs no second one.
  void SetBody(bool on, bool withText) {
    FBody = on;
    FBodyText = withText;
  }
  // The MIME type of a forwarded message's attachment by its name and sender's tag; the tag or
  // application/octet-stream unless set.
  void SetTypeOf(std::function<std::string(const std::wstring&, const std::string&)> typeOf) {
    FTypeOf = std::move(typeOf);
  }

 private:
  enum class TAttribute { atNone, atTitle, atData };

  // Where an attribute's identifier was found and the length stored behind it.
  struct TAttributeAt {
    std::uint64_t offset;
    std::uint32_t length;
    bool lengthInFile;  // false when the file ends inside the length field
  };
  struct TPendingAttachment;

  void ConvertWalked(std::vector<std::wstring>& ResultFile,
                     const std::filesystem::path& TempFolder);
  void ConvertScanned(std::vector<std::wstring>& ResultFile,
                      const std::filesystem::path& TempFolder);
  void WriteBody(std::vector<std::wstring>& ResultFile, const std::filesystem::path& TempFolder);
  void WriteForwarded(const TTnefInfo& message, const std::filesystem::path& FileName);
  void WriteRange(const TTnefRange& range, const std::filesystem::path& FileName);
  void Add(std::vector<std::wstring>& ResultFile, std::wstring name, std::string mimeTag,
           std::string contentType);
  std::wstring ClaimName(const std::wstring& wanted);
  void Take(std::uint64_t bytes);
  void TakeWalked(const TTnefInfo& message);
  TAttribute FindAttribute();
  void ScanAttributes(const std::filesystem::path& TempFolder);
  size_t CountAttachments() const;
  void ReadTitles() const;
  void SaveAttachment(size_t index, const std::filesystem::path& FileName);

  void Refill(std::uint64_t from);
  void StartAttachment(const TAttributeAt& data, const std::filesystem::path& TempFolder);
  void Feed(TPendingAttachment& attachment);
  void DiscardPending();
  void CheckValue(const TAttributeAt& attribute, std::uint64_t valueSize, const char* what) const;
  void ReadAt(std::uint64_t offset, char* buffer, size_t size);
  // ReadAt, for the readers of bodies and forwarded messages.
  TTnefRead Reader();
  std::wstring AttachmentName(size_t index);
  std::wstring TitleName(size_t index);

  std::filesystem::path FFileName;
  std::ifstream FSourceFileStream;
  // The file in memory when the system maps it; its pieces are then views into it, not copies.
  TMappedFile FMapped;
  bool FUseMapped = false;
  std::uint64_t FCurrentStreamPos = 0;
  // Every attAttachTitle the scan found, in file order; the i-th names the i-th data value.
  std::vector<TAttributeAt> FAttTitles;

  std::uint64_t FSourceSize = 0;
  // The piece of the file in view: FView holds FBufferFill bytes from FBufferStart on, in FBuffer
  // or in the mapped file.
  std::vector<char> FBuffer;
  const char* FView = nullptr;
  size_t FBufferSize;
  std::uint64_t FBufferStart = 0;
  size_t FBufferFill = 0;
  // One per attAttachData, in file order, each written to a temporary file as the scan passes.
  std::vector<std::unique_ptr<TPendingAttachment>> FPending;
  std::vector<TPendingAttachment*> FStreaming;  // being written from the buffer
  unsigned FTemporaryNumber = 0;                // where the search for a free name goes on
  std::uint64_t FTakenBytes = 0;                // the data values' lengths so far

  bool FLongFileNames = true;
  bool FBody = true;
  bool FBodyText = true;
  std::function<std::string(const std::wstring&, const std::string&)> FTypeOf;
  TTnefInfo FInfo;  // the walk over the records
  std::vector<std::string> FMimeTags;
  std::vector<std::string> FContentTypes;
  // The names taken so far, and their code-page forms: two names that differ may meet there
  // ("Résumé.pdf" best-fits to "Resume.pdf").
  TNameClaim FNames, FCodePageNames;
  size_t FTakenCount = 0;  // attachments taken so far, forwarded ones included
};

}  // namespace vlm
