#include "received/tnef_properties.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "base/ansi_text.h"

namespace vlm {
namespace {

constexpr std::uint32_t kAttOemCodepage = 0x00069007;
constexpr std::uint32_t kAttAttachRendData = 0x00069002;
constexpr std::uint32_t kAttAttachData = 0x0006800F;
constexpr std::uint32_t kAttAttachment = 0x00069005;

constexpr std::uint16_t kPtString8 = 0x001E;
constexpr std::uint16_t kPtUnicode = 0x001F;
constexpr std::uint16_t kMultiValued = 0x1000;
constexpr std::uint16_t kPrAttachLongFilename = 0x3707;
constexpr std::uint16_t kPrAttachMimeTag = 0x370E;

// More than any real attachment has; a block claiming more is not read further.
constexpr std::uint32_t kMaxProperties = 10000;
constexpr std::uint32_t kMaxValues = 10000;
// A name or MIME tag longer than this is no name.
constexpr std::uint32_t kMaxTextBytes = 4096;

// Reads from the file at given offsets; every read is checked against the file's end. The walk
// reads many small fields close together, so they are served from one window of the file read
// at a time, instead of a seek and a read each; a file already in memory is one window.
class TFileReader {
 public:
  explicit TFileReader(const std::filesystem::path& path) {
    // Unbuffered: the window is the buffer.
    FStream.rdbuf()->pubsetbuf(nullptr, 0);
    FStream.open(path, std::ios::binary);
    if (!FStream) return;
    FStream.seekg(0, std::ios::end);
    const std::streamoff size = FStream.tellg();
    FSize = size < 0 ? 0 : static_cast<std::uint64_t>(size);
  }
  explicit TFileReader(std::string_view bytes)
      : FSize(bytes.size()),
        FWindowData(bytes.data()),
        FWindowSize(bytes.size()),
        FInMemory(true) {}

  [[nodiscard]] std::uint64_t Size() const { return FSize; }
  [[nodiscard]] bool Fits(std::uint64_t at, std::uint64_t bytes) const {
    return at <= FSize && bytes <= FSize - at;
  }
  std::optional<std::string> Bytes(std::uint64_t at, std::uint64_t bytes) {
    if (!Fits(at, bytes)) return std::nullopt;
    std::string out(static_cast<size_t>(bytes), '\0');
    if (bytes > kWindowSize && !FInMemory) {
      if (!ReadAt(at, out.data(), out.size())) return std::nullopt;
      return out;
    }
    if (!Window(at, bytes)) return std::nullopt;
    std::copy_n(FWindowData + (at - FWindowStart), out.size(), out.data());
    return out;
  }
  std::optional<std::uint32_t> Long(std::uint64_t at) {
    if (!Fits(at, 4) || !Window(at, 4)) return std::nullopt;
    const auto* b = reinterpret_cast<const unsigned char*>(FWindowData + (at - FWindowStart));
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  }

 private:
  static constexpr size_t kWindowSize = 16384;

  // Makes the window hold [at, at + bytes), which lies inside the file and is no larger than it.
  bool Window(std::uint64_t at, std::uint64_t bytes) {
    if (at >= FWindowStart && at + bytes <= FWindowStart + FWindowSize) return true;
    if (FInMemory) return false;  // the one window holds the whole file
    FWindow.resize(static_cast<size_t>(std::min<std::uint64_t>(kWindowSize, FSize - at)));
    FWindowStart = at;
    FWindowData = FWindow.data();
    FWindowSize = FWindow.size();
    if (ReadAt(at, FWindow.data(), FWindow.size())) return true;
    FWindowSize = 0;
    return false;
  }
  bool ReadAt(std::uint64_t at, char* out, size_t bytes) {
    FStream.clear();
    FStream.seekg(static_cast<std::streamoff>(at));
    FStream.read(out, static_cast<std::streamsize>(bytes));
    return static_cast<size_t>(FStream.gcount()) == bytes;
  }

  std::ifstream FStream;
  std::uint64_t FSize = 0;
  std::vector<char> FWindow;
  std::uint64_t FWindowStart = 0;
  const char* FWindowData = nullptr;
  std::uint64_t FWindowSize = 0;
  bool FInMemory = false;
};

std::uint64_t Padded(std::uint64_t bytes) {
  return (bytes + 3) / 4 * 4;
}

// The size of one fixed-size value as stored (shorter ones padded to four bytes); 0 for the
// types stored with a length.
std::uint64_t FixedSize(std::uint16_t type) {
  switch (type) {
    case 0x0002:
    case 0x0003:
    case 0x0004:
    case 0x000A:
    case 0x000B:  // short, long, float, error, boolean
      return 4;
    case 0x0005:
    case 0x0006:
    case 0x0007:
    case 0x0014:
    case 0x0040:  // double, currency, apptime, int64, systime
      return 8;
    case 0x0048:  // GUID
      return 16;
    default:
      return 0;
  }
}

bool HasLength(std::uint16_t type) {
  return type == kPtString8 || type == kPtUnicode || type == 0x0102 || type == 0x000D;
}

// UTF-16LE up to its first zero unit, as wide text on either side.
std::wstring FromUtf16(std::string_view bytes) {
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit == 0) break;
    units += unit;
  }
  std::wstring out;
  for (size_t i = 0; i < units.size(); ++i) {
    const char32_t u = units[i];
    if constexpr (sizeof(wchar_t) == 2) {
      out += static_cast<wchar_t>(u);
    } else if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
               units[i + 1] < 0xE000) {
      out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else {
      out += static_cast<wchar_t>(u >= 0xD800 && u < 0xE000 ? u'_' : u);
    }
  }
  return out;
}

std::string UpToZero(std::string bytes) {
  bytes.resize(std::min(bytes.find('\0'), bytes.size()));
  return bytes;
}

// Walks one property block, filling `info` with the properties it knows.
class TPropertyWalk {
 public:
  TPropertyWalk(TFileReader& file, std::uint64_t from, std::uint64_t end)
      : FFile(file), FAt(from), FEnd(end) {}

  void Read(TTnefAttachmentInfo& info, std::optional<unsigned> codePage) {
    const auto count = Long();
    if (!count || *count > kMaxProperties) return;
    std::optional<std::wstring> unicodeName, eightBitName;
    for (std::uint32_t i = 0; i < *count; ++i) {
      const auto tag = Long();
      if (!tag) return;
      const auto type = static_cast<std::uint16_t>(*tag & 0xFFFF);
      const auto id = static_cast<std::uint16_t>(*tag >> 16);
      if (id >= 0x8000 && !SkipName()) return;
      std::optional<std::string> first;
      if (!Values(type, first)) return;
      if (!first) continue;
      if (id == kPrAttachLongFilename && type == kPtUnicode) unicodeName = FromUtf16(*first);
      if (id == kPrAttachLongFilename && type == kPtString8)
        eightBitName = SenderText(UpToZero(*first), codePage);
      if (id == kPrAttachMimeTag && (type == kPtString8 || type == kPtUnicode))
        info.MimeTag = type == kPtString8 ? UpToZero(*first) : ToAnsi(FromUtf16(*first));
    }
    if (unicodeName && !unicodeName->empty())
      info.LongName = unicodeName;
    else if (eightBitName && !eightBitName->empty())
      info.LongName = eightBitName;
  }

 private:
  std::optional<std::uint32_t> Long() {
    if (FAt + 4 > FEnd) return std::nullopt;
    const auto value = FFile.Long(FAt);
    FAt += 4;
    return value;
  }
  bool Skip(std::uint64_t bytes) {
    if (bytes > FEnd - FAt) return false;
    FAt += bytes;
    return true;
  }
  // A named property's name: its set's GUID, then a number or a UTF-16 name with its length.
  bool SkipName() {
    if (!Skip(16)) return false;
    const auto kind = Long();
    if (!kind) return false;
    if (*kind == 0) return Skip(4);
    const auto length = Long();
    return length && Skip(Padded(*length));
  }
  // Steps over the property's values; the first value of a string or binary property goes to
  // `first` when it is short enough to be a name.
  bool Values(std::uint16_t type, std::optional<std::string>& first) {
    const bool multi = (type & kMultiValued) != 0;
    const auto base = static_cast<std::uint16_t>(type & ~kMultiValued);
    if (!HasLength(base)) {
      const std::uint64_t size = FixedSize(base);
      if (size == 0) return false;  // a type we cannot step over
      std::uint32_t count = 1;
      if (multi) {
        const auto n = Long();
        if (!n || *n > kMaxValues) return false;
        count = *n;
      }
      return Skip(size * count);
    }
    const auto count = Long();
    if (!count || *count > kMaxValues) return false;
    for (std::uint32_t v = 0; v < *count; ++v) {
      const auto length = Long();
      if (!length) return false;
      if (v == 0 && *length <= kMaxTextBytes && FAt + *length <= FEnd)
        first = FFile.Bytes(FAt, *length);
      if (!Skip(Padded(*length))) return false;
    }
    return true;
  }

  TFileReader& FFile;
  std::uint64_t FAt;
  std::uint64_t FEnd;
};

}  // namespace

const TTnefAttachmentInfo* TTnefInfo::ForData(std::uint64_t dataOffset) const {
  const auto found = std::lower_bound(FByData.begin(), FByData.end(),
                                      std::pair<std::uint64_t, std::size_t>(dataOffset, 0));
  if (found == FByData.end() || found->first != dataOffset) return nullptr;
  return &Attachments[found->second];
}

void TTnefInfo::IndexByData() {
  FByData.clear();
  for (std::size_t i = 0; i < Attachments.size(); ++i)
    if (Attachments[i].DataOffset) FByData.emplace_back(*Attachments[i].DataOffset, i);
  // The walk goes forward, so the offsets come in order; the first of equal offsets wins.
  std::stable_sort(FByData.begin(), FByData.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::wstring SenderText(std::string_view bytes, std::optional<unsigned> codePage) {
  // Plain ASCII reads the same in every code page; most titles are 8.3 names.
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0 && c < 0x7F; }))
    return std::wstring(bytes.begin(), bytes.end());
  if (codePage && *codePage != 0) {
    try {
      return FromCodePage(*codePage, bytes);
    } catch (const std::exception&) {
    }
  }
  try {
    return FromAnsi(bytes);
  } catch (const std::exception&) {
    std::wstring text;
    for (char c : bytes)
      text += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'_';
    return text;
  }
}

namespace {

// Records: level (1), identifier and type (4), length (4), value, checksum (2). An attachment
// begins with its attAttachRendData; data and property block belong to the one before them.
TTnefInfo WalkRecords(TFileReader& file) {
  TTnefInfo info;
  // The records are walked even behind a damaged signature, as the title scan reads such a file
  // too; records that do not line up end the walk soon enough.
  std::uint64_t at = 6;  // the signature and the legacy key
  const auto current = [&](bool has) -> TTnefAttachmentInfo& {
    if (info.Attachments.empty() || has) info.Attachments.emplace_back();
    return info.Attachments.back();
  };
  while (file.Fits(at, 9)) {
    const auto id = file.Long(at + 1);
    const auto length = file.Long(at + 5);
    if (!id || !length || !file.Fits(at + 9, std::uint64_t{*length} + 2)) break;
    const std::uint64_t value = at + 9;
    if (*id == kAttOemCodepage && *length >= 4) {
      info.CodePage = file.Long(value);
    } else if (*id == kAttAttachRendData) {
      info.Attachments.emplace_back();
    } else if (*id == kAttAttachData) {
      current(!info.Attachments.empty() && info.Attachments.back().DataOffset.has_value())
          .DataOffset = at + 1;
    } else if (*id == kAttAttachment) {
      auto& attachment =
          current(!info.Attachments.empty() && info.Attachments.back().PropertiesRead);
      attachment.PropertiesRead = true;
      TPropertyWalk(file, value, value + *length).Read(attachment, info.CodePage);
    }
    at = value + *length + 2;
  }
  info.IndexByData();
  return info;
}

}  // namespace

TTnefInfo ReadTnefInfo(const std::filesystem::path& path) {
  TFileReader file(path);
  return WalkRecords(file);
}

TTnefInfo ReadTnefInfo(std::string_view bytes) {
  TFileReader file(bytes);
  return WalkRecords(file);
}

}  // namespace vlm
