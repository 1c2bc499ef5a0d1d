#include "received/tnef_convert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/ansi_text.h"
#include "received/attachment_file_name.h"
#include "received/forwarded_message.h"
#include "received/tnef_body.h"
#include "base/file_name_key.h"
#include "base/files.h"

namespace vlm {
namespace {

constexpr std::wstring_view kTemporaryPrefix = L"~tnef";
constexpr std::wstring_view kTemporarySuffix = L".part";

// A file for one attachment's data, under a name of its own in `folder` until it is complete.
std::unique_ptr<TTemporaryFile> NewTemporaryFile(const std::filesystem::path& folder,
                                                 unsigned& number) {
  return std::make_unique<TTemporaryFile>(PathText(folder), kTemporaryPrefix, kTemporarySuffix,
                                          number);
}

// Whether the name is one the temporary files take ("~tnef1.part" in any letter case): an
// attachment of that name would be moved over another attachment's data still on its way.
bool IsTemporaryName(std::wstring_view name) {
  const std::wstring key = FileNameKey(name);
  const std::wstring prefix = FileNameKey(kTemporaryPrefix);
  const std::wstring suffix = FileNameKey(kTemporarySuffix);
  if (key.size() <= prefix.size() + suffix.size() || !key.starts_with(prefix) ||
      !key.ends_with(suffix))
    return false;
  const std::wstring_view number =
      std::wstring_view(key).substr(prefix.size(), key.size() - prefix.size() - suffix.size());
  return number.find_first_not_of(L"0123456789") == std::wstring_view::npos;
}

// An attribute record: level (1), identifier and type (4), length (4, little-endian), value,
// checksum (2). The scan looks at the identifier and the length behind it.
constexpr std::uint64_t kIdentifierSize = 4;
constexpr std::uint64_t kRecordHead = 8;

// Data values written from the buffer at the same time; more only come from values nested in
// values, which are copied afterwards instead of holding a file open each.
constexpr size_t kMaxStreaming = 8;

std::uint32_t ReadLength(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace

// An attachment's data on its way into a temporary file.
struct TTNEFConvert::TPendingAttachment {
  TAttributeAt data;
  std::unique_ptr<TTemporaryFile> file;  // null until the data is written
  std::uint64_t next = 0;                // offset in the TNEF file of the next byte to write

  std::uint64_t End() const { return data.offset + kRecordHead + data.length; }
};

// The file is read in pieces of FBufferSize bytes, so memory stays small whatever its size or the
// lengths it claims. A piece must hold at least one identifier and its length.
TTNEFConvert::TTNEFConvert(const std::filesystem::path& TNEFFileName, size_t bufferSize,
                           TReading reading)
    : FFileName(TNEFFileName),
      // Most of the file is attachment data handed on by the system; only the records around it
      // are read, unless the file must be scanned.
      FMapped(reading == TReading::Buffered ? std::filesystem::path() : TNEFFileName,
              TMappedFile::TUse::HandOn),
      FBufferSize(std::max<size_t>(bufferSize, kRecordHead)) {
  if (FMapped.Data() != nullptr) {
    FSourceSize = FMapped.Size();
    FUseMapped = true;
    return;
  }
  // Unbuffered: every read goes straight into FBuffer.
  FSourceFileStream.rdbuf()->pubsetbuf(nullptr, 0);
  FSourceFileStream.open(FFileName, std::ios::binary);
  if (!FSourceFileStream) throw ETNEFConvert("cannot open the TNEF file");
  FSourceFileStream.seekg(0, std::ios::end);
  const std::streamoff size = FSourceFileStream.tellg();
  if (size < 0) throw ETNEFConvert("cannot read the TNEF file");
  FSourceSize = static_cast<std::uint64_t>(size);
}

TTNEFConvert::~TTNEFConvert() = default;

bool TTNEFConvert::Convert(std::vector<std::wstring>& ResultFile,
                           const std::filesystem::path& TempFolder) {
  const size_t earlier = ResultFile.size();
  try {
    FMimeTags.clear();
    FContentTypes.clear();
    FNames = TNameClaim();
    FCodePageNames = TNameClaim();
    FTakenCount = 0;
    FTakenBytes = 0;
    FInfo = FUseMapped ? ReadTnefInfo(std::string_view(FMapped.Data(), FMapped.Size()))
                       : ReadTnefInfo(FFileName);
    if (FInfo.Clean)
      ConvertWalked(ResultFile, TempFolder);
    else
      ConvertScanned(ResultFile, TempFolder);
    if (FBody) WriteBody(ResultFile, TempFolder);
  } catch (const EFileError& error) {
    DiscardPending();
    throw ETNEFConvert(std::string("cannot write an attachment file: ") + error.what());
  } catch (...) {
    DiscardPending();
    throw;
  }
  DiscardPending();
  return ResultFile.size() > earlier;
}

// Two attachments with one name keep their own content: the later one is "name (2).ext". The
// names also go into headers in the code page, where names that differ may meet ("Résumé.pdf"
// best-fits to "Resume.pdf"): those are numbered apart as well.
std::wstring TTNEFConvert::ClaimName(const std::wstring& wanted) {
  std::wstring name = FNames.Claim(wanted);
  while (IsTemporaryName(name) || !FCodePageNames.Take(FromAnsi(AnsiFileName(name))))
    name = FNames.Claim(wanted);
  return name;
}

void TTNEFConvert::Add(std::vector<std::wstring>& ResultFile, std::wstring name,
                       std::string mimeTag, std::string contentType) {
  ResultFile.push_back(std::move(name));
  FMimeTags.push_back(std::move(mimeTag));
  FContentTypes.push_back(std::move(contentType));
}

// Counts an attachment against what one file may give. The attachments of one file hold at most
// twice its size and a megabyte (a little room for values that nest).
void TTNEFConvert::Take(std::uint64_t bytes) {
  if (++FTakenCount > kMaxAttachments) throw ETNEFLimit("too many attachments");
  FTakenBytes += bytes;
  if (FTakenBytes > std::min(kMaxTotalBytes, 2 * FSourceSize + (1u << 20)))
    throw ETNEFLimit("the attachments hold more than the file");
}

// The attachments as the records walked give them. A forwarded message's placeholder data
// ("This attachment is a MAPI 1.0 embedded message ...") is no file: the message is.
void TTNEFConvert::ConvertWalked(std::vector<std::wstring>& ResultFile,
                                 const std::filesystem::path& TempFolder) {
  TakeWalked(FInfo);
  for (size_t i = 0; i < FInfo.Attachments.size(); ++i) {
    const TTnefAttachmentInfo& attachment = FInfo.Attachments[i];
    const auto& data = attachment.Data ? attachment.Data : attachment.BlockData;
    if (!attachment.Embedded && !data) continue;
    std::wstring name = ClaimName(TnefAttachmentName(FInfo, i, Reader(), FLongFileNames));
    if (attachment.Embedded) {
      WriteForwarded(*attachment.Embedded, FileInFolder(TempFolder, name));
      Add(ResultFile, std::move(name), {}, "message/rfc822");
      continue;
    }
    WriteRange(*data, FileInFolder(TempFolder, name));
    Add(ResultFile, std::move(name), FLongFileNames ? attachment.MimeTag : std::string(), {});
  }
}

// Counts every attachment the walk found, those of forwarded messages too, before anything is
// written: a file that would give too much gives nothing.
void TTNEFConvert::TakeWalked(const TTnefInfo& message) {
  for (const TTnefAttachmentInfo& attachment : message.Attachments) {
    if (attachment.EmbeddedTooDeep) throw ETNEFNesting("forwarded messages nest too deep");
    const auto& data = attachment.Data ? attachment.Data : attachment.BlockData;
    if (attachment.Embedded) {
      Take(0);
      TakeWalked(*attachment.Embedded);
    } else if (data) {
      Take(data->Size);
    }
  }
}

void TTNEFConvert::ConvertScanned(std::vector<std::wstring>& ResultFile,
                                  const std::filesystem::path& TempFolder) {
  ScanAttributes(TempFolder);
  const size_t count = CountAttachments();
  if (count == 0) return;
  ReadTitles();
  if (!FLongFileNames) FInfo = TTnefInfo{};
  for (size_t i = 0; i < count; ++i) {
    std::wstring name = ClaimName(AttachmentName(i));
    SaveAttachment(i, FileInFolder(TempFolder, name));
    const TTnefAttachmentInfo* info = FInfo.ForData(FPending[i]->data.offset);
    Add(ResultFile, std::move(name), info ? info->MimeTag : std::string(), {});
  }
}

void TTNEFConvert::WriteBody(std::vector<std::wstring>& ResultFile,
                             const std::filesystem::path& TempFolder) {
  for (TTnefBodyPart& part : TnefBodyParts(FInfo, Reader(), FBodyText)) {
    std::wstring name = ClaimName(part.Name);
    if (!WriteWholeNewFile(PathText(FileInFolder(TempFolder, name)), part.Bytes.data(),
                           part.Bytes.size()))
      throw ETNEFConvert("cannot write the body");
    Add(ResultFile, std::move(name), {}, std::move(part.ContentType));
  }
}

// A forwarded message goes into a temporary file as it is written, and under its name once whole.
void TTNEFConvert::WriteForwarded(const TTnefInfo& message, const std::filesystem::path& FileName) {
  TTemporaryFile file(PathText(FileName.parent_path()), kTemporaryPrefix, kTemporarySuffix,
                      FTemporaryNumber);
  TForwardingContext context;
  context.Read = Reader();
  context.Write = [&file](std::string_view text) { file.Write(text.data(), text.size()); };
  context.TypeOf = FTypeOf ? FTypeOf : [](const std::wstring&, const std::string& tag) {
    return tag.empty() ? std::string("application/octet-stream") : tag;
  };
  context.LongFileNames = FLongFileNames;
  WriteForwardedMessage(message, context);
  file.MoveTo(PathText(FileName));
}

// A value straight from the mapped file under its name; otherwise copied through a temporary
// file, so that a failed read leaves no half-written file under the name.
void TTNEFConvert::WriteRange(const TTnefRange& range, const std::filesystem::path& FileName) {
  if (FUseMapped) {
    if (!WriteWholeNewFile(PathText(FileName), FMapped, range.Offset,
                           static_cast<size_t>(range.Size)))
      throw ETNEFConvert("cannot write an attachment file");
    return;
  }
  TTemporaryFile file(PathText(FileName.parent_path()), kTemporaryPrefix, kTemporarySuffix,
                      FTemporaryNumber);
  std::vector<char> buffer(static_cast<size_t>(std::min<std::uint64_t>(FBufferSize, range.Size)));
  for (std::uint64_t at = 0; at < range.Size;) {
    const size_t size =
        static_cast<size_t>(std::min<std::uint64_t>(buffer.size(), range.Size - at));
    ReadAt(range.Offset + at, buffer.data(), size);
    file.Write(buffer.data(), size);
    at += size;
  }
  file.MoveTo(PathText(FileName));
}

// Closes and removes the temporary files that did not get their name.
void TTNEFConvert::DiscardPending() {
  FStreaming.clear();
  FPending.clear();
}

TTnefRead TTNEFConvert::Reader() {
  return [this](std::uint64_t at, char* out, size_t size) { ReadAt(at, out, size); };
}

void TTNEFConvert::ReadAt(std::uint64_t offset, char* buffer, size_t size) {
  if (FUseMapped) {
    if (offset > FSourceSize || size > FSourceSize - offset)
      throw ETNEFConvert("cannot read the TNEF file");
    std::memcpy(buffer, FMapped.Data() + offset, size);
    return;
  }
  FSourceFileStream.clear();
  FSourceFileStream.seekg(static_cast<std::streamoff>(offset));
  FSourceFileStream.read(buffer, static_cast<std::streamsize>(size));
  if (static_cast<size_t>(FSourceFileStream.gcount()) != size)
    throw ETNEFConvert("cannot read the TNEF file");
}

// Moves the buffered view to start at `from` and hands the new bytes to the attachments being
// written.
void TTNEFConvert::Refill(std::uint64_t from) {
  FBufferStart = from;
  FBufferFill = static_cast<size_t>(std::min<std::uint64_t>(FBufferSize, FSourceSize - from));
  if (FUseMapped) {
    FView = FMapped.Data() + from;
  } else {
    FBuffer.resize(FBufferSize);
    ReadAt(from, FBuffer.data(), FBufferFill);
    FView = FBuffer.data();
  }
  for (size_t i = 0; i < FStreaming.size();) {
    Feed(*FStreaming[i]);
    if (FStreaming[i]->file->IsOpen())
      ++i;
    else
      FStreaming.erase(FStreaming.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

// Writes what the buffer holds of the attachment's data and closes its file once it is complete.
void TTNEFConvert::Feed(TPendingAttachment& attachment) {
  const std::uint64_t from = std::max(attachment.next, FBufferStart);
  const std::uint64_t to = std::min(attachment.End(), FBufferStart + FBufferFill);
  if (from < to) {
    attachment.file->Write(FView + (from - FBufferStart), static_cast<size_t>(to - from));
    attachment.next = to;
  }
  if (attachment.next == attachment.End()) attachment.file->Close();
}

// Finds the next match of either identifier after FCurrentStreamPos and leaves
// FCurrentStreamPos on it, with its length field (when the file holds it) in the buffer. Both
// identifiers have 0x80 as their second byte, so memchr finds the candidates and one pass over
// the file serves both attributes.
TTNEFConvert::TAttribute TTNEFConvert::FindAttribute() {
  std::uint64_t candidate = FCurrentStreamPos + 1;
  while (candidate + kIdentifierSize <= FSourceSize) {
    const std::uint64_t bufferEnd = FBufferStart + FBufferFill;
    const std::uint64_t needed = std::min(candidate + kRecordHead, FSourceSize);
    if (candidate < FBufferStart || needed > bufferEnd) {
      Refill(candidate);
      continue;
    }
    // Candidates decided in this buffer: those whose length field it holds, or all at its end.
    const std::uint64_t decidedEnd =
        bufferEnd == FSourceSize ? bufferEnd : bufferEnd - (kRecordHead - kIdentifierSize);
    const auto* base = reinterpret_cast<const unsigned char*>(FView);
    const unsigned char* from = base + (candidate + 1 - FBufferStart);
    const unsigned char* to = base + (decidedEnd - 2 - FBufferStart);
    const void* hit = from < to ? std::memchr(from, 0x80, static_cast<size_t>(to - from)) : nullptr;
    if (hit == nullptr) {
      candidate = decidedEnd - kIdentifierSize + 1;
      continue;
    }
    const auto* p = static_cast<const unsigned char*>(hit) - 1;
    candidate = FBufferStart + static_cast<std::uint64_t>(p - base);
    if (p[3] == 0x00) {
      const bool title = p[0] == 0x10 && p[2] == 0x01;
      if (title || (p[0] == 0x0F && p[2] == 0x06)) {
        FCurrentStreamPos = candidate;
        return title ? TAttribute::atTitle : TAttribute::atData;
      }
    }
    ++candidate;
  }
  FCurrentStreamPos = FSourceSize;
  return TAttribute::atNone;
}

// The one pass over the file: finds every match of both identifiers with the length behind it,
// keeps the titles in FAttTitles and starts writing each data value into a temporary file in
// TempFolder as the scan passes over it, so the file is read only once.
void TTNEFConvert::ScanAttributes(const std::filesystem::path& TempFolder) {
  FAttTitles.clear();
  FPending.clear();
  FStreaming.clear();
  FTemporaryNumber = 0;
  FBufferStart = FBufferFill = 0;
  FCurrentStreamPos = 0;
  for (TAttribute found; (found = FindAttribute()) != TAttribute::atNone;) {
    TAttributeAt at{FCurrentStreamPos, 0, FCurrentStreamPos + kRecordHead <= FSourceSize};
    if (at.lengthInFile)
      at.length = ReadLength(FView + (FCurrentStreamPos + kIdentifierSize - FBufferStart));
    if (found == TAttribute::atTitle)
      FAttTitles.push_back(at);
    else
      StartAttachment(at, TempFolder);
  }
  FCurrentStreamPos = 0;
  FBuffer = std::vector<char>();
  FView = nullptr;
}

// The number of data values the scan found.
size_t TTNEFConvert::CountAttachments() const {
  return FPending.size();
}

// A data value is checked before any file is created for it. A mapped file is written out once
// the names are known, straight under its name. Otherwise the value is written from the buffer as
// the scan passes, unless too many values are open at once (values that hold values), in which
// case it is copied when it is saved.
void TTNEFConvert::StartAttachment(const TAttributeAt& data,
                                   const std::filesystem::path& TempFolder) {
  CheckValue(data, data.length, "attachment data");
  Take(data.length);
  auto attachment = std::make_unique<TPendingAttachment>();
  attachment->data = data;
  attachment->next = data.offset + kRecordHead;
  if (!FUseMapped && FStreaming.size() < kMaxStreaming) {
    attachment->file = NewTemporaryFile(TempFolder, FTemporaryNumber);
    Feed(*attachment);
    if (attachment->file->IsOpen()) FStreaming.push_back(attachment.get());
  }
  FPending.push_back(std::move(attachment));
}

void TTNEFConvert::CheckValue(const TAttributeAt& attribute, std::uint64_t valueSize,
                              const char* what) const {
  if (!attribute.lengthInFile)
    throw ETNEFConvert(std::string("the length of an ") + what + " runs past the end of the file");
  if (valueSize > FSourceSize - (attribute.offset + kRecordHead))
    throw ETNEFConvert(std::string("an ") + what + " runs past the end of the file");
}

// Checks the titles the scan found. A title is its value without the final byte (the
// terminating zero); only that part has to lie inside the file. Their text is read when a name
// is made from one (TitleName).
void TTNEFConvert::ReadTitles() const {
  for (const auto& title : FAttTitles)
    CheckValue(title, title.length == 0 ? 0 : title.length - 1, "attachment title");
}

// The name of the index-th data value: the long name of its attachment when long names are on
// and it has a usable one, else its title, else "attachment<index + 1>".
std::wstring TTNEFConvert::AttachmentName(size_t index) {
  if (const TTnefAttachmentInfo* info = FInfo.ForData(FPending[index]->data.offset);
      info && info->LongName) {
    if (std::wstring name = SafeFileName(*info->LongName); !name.empty()) return name;
  }
  std::wstring name = TitleName(index);
  return name.empty() ? L"attachment" + std::to_wstring(index + 1) : name;
}

// The title of the index-th data value as a safe file name, empty when the file has no such
// title or nothing of it can be used. Windows would end the name at the first zero byte, so the
// title ends there too. With long names on, the title is read in the sender's code page.
std::wstring TTNEFConvert::TitleName(size_t index) {
  if (index >= FAttTitles.size()) return {};
  const TAttributeAt& title = FAttTitles[index];
  std::string bytes(std::min<size_t>(title.length == 0 ? 0 : title.length - 1, kMaxTitleBytes),
                    '\0');
  ReadAt(title.offset + kRecordHead, bytes.data(), bytes.size());
  return SafeFileName(TitleText(std::move(bytes), FLongFileNames ? FInfo.CodePage : std::nullopt));
}

// Puts the index-th data value under its name, copying it first when the scan could not. From a
// mapped file the value goes straight under its name: the folder is the caller's own, and a
// failed write leaves nothing behind.
void TTNEFConvert::SaveAttachment(size_t index, const std::filesystem::path& FileName) {
  TPendingAttachment& attachment = *FPending[index];
  if (!attachment.file && FUseMapped) {
    const std::uint64_t size = attachment.End() - attachment.next;
    if (!WriteWholeNewFile(PathText(FileName), FMapped, attachment.next, static_cast<size_t>(size)))
      throw ETNEFConvert("cannot write an attachment file");
    attachment.next = attachment.End();
    return;
  }
  if (!attachment.file) {
    attachment.file = NewTemporaryFile(FileName.parent_path(), FTemporaryNumber);
    std::vector<char> buffer(
        static_cast<size_t>(std::min<std::uint64_t>(FBufferSize, attachment.data.length)));
    for (std::uint64_t& next = attachment.next; next < attachment.End();) {
      const size_t size =
          static_cast<size_t>(std::min<std::uint64_t>(buffer.size(), attachment.End() - next));
      ReadAt(next, buffer.data(), size);
      attachment.file->Write(buffer.data(), size);
      next += size;
    }
  }
  attachment.file->MoveTo(PathText(FileName));
}

}  // namespace vlm
