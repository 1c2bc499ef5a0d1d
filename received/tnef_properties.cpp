#include "received/tnef_properties.h"

#include <algorithm>
#include <fstream>

#include "base/ansi_text.h"

namespace vlm {
namespace {

constexpr std::uint32_t kTnefSignature = 0x223E9F78;
constexpr std::uint8_t kLevelMessage = 1;

// Attributes: identifier and type.
constexpr std::uint32_t kAttOemCodepage = 0x00069007;
constexpr std::uint32_t kAttAttachRendData = 0x00069002;
constexpr std::uint32_t kAttAttachTitle = 0x00018010;
constexpr std::uint32_t kAttAttachData = 0x0006800F;
constexpr std::uint32_t kAttAttachment = 0x00069005;
constexpr std::uint32_t kAttMsgProps = 0x00069003;
constexpr std::uint32_t kAttSubject = 0x00018004;
constexpr std::uint32_t kAttBody = 0x0002800C;
constexpr std::uint32_t kAttDateSent = 0x00038005;
constexpr std::uint32_t kAttMessageClass = 0x00078008;

// Property types.
constexpr std::uint16_t kPtLong = 0x0003;
constexpr std::uint16_t kPtSystime = 0x0040;
constexpr std::uint16_t kPtString8 = 0x001E;
constexpr std::uint16_t kPtUnicode = 0x001F;
constexpr std::uint16_t kPtBinary = 0x0102;
constexpr std::uint16_t kPtObject = 0x000D;
constexpr std::uint16_t kMultiValued = 0x1000;

// Attachment properties.
constexpr std::uint16_t kPrAttachDataBin = 0x3701;  // PR_ATTACH_DATA_OBJ as an object
constexpr std::uint16_t kPrAttachMethod = 0x3705;
constexpr std::uint16_t kPrAttachLongFilename = 0x3707;
constexpr std::uint16_t kPrAttachMimeTag = 0x370E;
constexpr std::uint16_t kPrDisplayName = 0x3001;

// Message properties.
constexpr std::uint16_t kPrSubject = 0x0037;
constexpr std::uint16_t kPrClientSubmitTime = 0x0039;
constexpr std::uint16_t kPrMessageClass = 0x001A;
constexpr std::uint16_t kPrSentRepresentingName = 0x0042;
constexpr std::uint16_t kPrSentRepresentingEmail = 0x0065;
constexpr std::uint16_t kPrSenderName = 0x0C1A;
constexpr std::uint16_t kPrSenderEmail = 0x0C1F;
constexpr std::uint16_t kPrSenderSmtp = 0x5D01;
constexpr std::uint16_t kPrSentRepresentingSmtp = 0x5D02;
constexpr std::uint16_t kPrDisplayCc = 0x0E03;
constexpr std::uint16_t kPrDisplayTo = 0x0E04;
constexpr std::uint16_t kPrBody = 0x1000;
constexpr std::uint16_t kPrRtfCompressed = 0x1009;
constexpr std::uint16_t kPrHtml = 0x1013;
constexpr std::uint16_t kPrInternetMessageId = 0x1035;
constexpr std::uint16_t kPrInternetCpid = 0x3FDE;

// An object property that holds a message starts with IID_IMessage.
constexpr std::string_view kIidIMessage{
    "\x07\x03\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16};
constexpr std::uint64_t kInterfaceIdSize = 16;

// More attachments than one message and those forwarded in it carry; the walk stops there.
constexpr std::size_t kMaxWalkedAttachments = 4096;

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
}  // namespace

std::wstring FromUtf16Le(std::string_view bytes) {
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

namespace {

std::string UpToZero(std::string bytes) {
  bytes.resize(std::min(bytes.find('\0'), bytes.size()));
  return bytes;
}

// A MIME type, a message identifier or class: ASCII by nature, so a text with anything else in it
// is none and gives nothing.
std::string AsciiOnly(const std::wstring& text) {
  std::string ascii;
  for (const wchar_t c : text) {
    if (c < 0x20 || c >= 0x7F) return {};
    ascii += static_cast<char>(c);
  }
  return ascii;
}

// One property's first value: where it stands for the types stored with a length, the value
// itself for the fixed ones of up to eight bytes.
struct TPropertyValue {
  std::optional<TTnefRange> Range;
  std::optional<std::uint64_t> Fixed;
};

// Walks one property block and hands each property's tag and first value to a visitor.
class TPropertyWalk {
 public:
  TPropertyWalk(TFileReader& file, std::uint64_t from, std::uint64_t end)
      : FFile(file), FAt(from), FEnd(end) {}

  template <typename Visit>
  void Read(Visit&& visit) {
    const auto count = Long();
    if (!count || *count > kMaxProperties) return;
    for (std::uint32_t i = 0; i < *count; ++i) {
      const auto tag = Long();
      if (!tag) return;
      const auto type = static_cast<std::uint16_t>(*tag & 0xFFFF);
      const auto id = static_cast<std::uint16_t>(*tag >> 16);
      if (id >= 0x8000 && !SkipName()) return;
      TPropertyValue first;
      if (!Values(type, first)) return;
      if ((type & kMultiValued) == 0) visit(id, type, first);
    }
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
  // Steps over the property's values, keeping the first.
  bool Values(std::uint16_t type, TPropertyValue& first) {
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
      if (!multi && size <= 8 && FAt + size <= FEnd) {
        const auto low = FFile.Long(FAt);
        const auto high = size == 8 ? FFile.Long(FAt + 4) : std::optional<std::uint32_t>(0);
        if (low && high) first.Fixed = std::uint64_t{*high} << 32 | *low;
      }
      return size * count <= FEnd - FAt && Skip(size * count);
    }
    const auto count = Long();
    if (!count || *count > kMaxValues) return false;
    for (std::uint32_t v = 0; v < *count; ++v) {
      const auto length = Long();
      if (!length) return false;
      if (v == 0 && *length <= FEnd - FAt) first.Range = TTnefRange{FAt, *length};
      if (!Skip(Padded(*length))) return false;
    }
    return true;
  }

  TFileReader& FFile;
  std::uint64_t FAt;
  std::uint64_t FEnd;
};

// What is walked in one go: every message, the forwarded ones included, and the attachments of
// them all, so that nesting cannot multiply what one file makes the walk hold.
struct TWalkBudget {
  std::size_t Attachments = 0;
};

class TRecordWalk {
 public:
  TRecordWalk(TFileReader& file, TWalkBudget& budget) : FFile(file), FBudget(budget) {}

  // The records of the stream in [begin, end); `depth` counts the messages it is forwarded in.
  TTnefInfo Walk(std::uint64_t begin, std::uint64_t end, unsigned depth) {
    TTnefInfo info;
    const auto signature = FFile.Long(begin);
    // The records are walked even behind a damaged signature, as the title scan reads such a file
    // too; records that do not line up end the walk soon enough.
    std::uint64_t at = begin + 6;  // the signature and the legacy key
    bool whole = true;
    std::optional<std::wstring> attSubject;
    while (at < end) {
      const auto head = end - at >= 9 ? FFile.Bytes(at, 1) : std::nullopt;
      const auto id = head ? FFile.Long(at + 1) : std::nullopt;
      const auto length = id ? FFile.Long(at + 5) : std::nullopt;
      if (!length || std::uint64_t{*length} + 2 > end - (at + 9)) {
        whole = false;
        break;
      }
      const TTnefRange value{at + 9, *length};
      if (!Record(info, static_cast<std::uint8_t>((*head)[0]), *id, value, depth, attSubject)) {
        whole = false;
        break;
      }
      at = value.Offset + value.Size + 2;
    }
    if (info.Header.Subject.empty() && attSubject) info.Header.Subject = *attSubject;
    info.Clean = whole && signature == kTnefSignature;
    info.IndexByData();
    return info;
  }

 private:
  // Takes one record into `info`; false when the walk must stop.
  bool Record(TTnefInfo& info, std::uint8_t level, std::uint32_t id, const TTnefRange& value,
              unsigned depth, std::optional<std::wstring>& attSubject) {
    if (id == kAttOemCodepage && value.Size >= 4) {
      info.CodePage = FFile.Long(value.Offset);
    } else if (id == kAttAttachRendData) {
      return NewAttachment(info);
    } else if (id == kAttAttachTitle) {
      if (!Current(info, [](const auto& a) { return a.Title.has_value(); })) return false;
      info.Attachments.back().Title =
          TTnefRange{value.Offset, value.Size == 0 ? 0 : value.Size - 1};
    } else if (id == kAttAttachData) {
      if (!Current(info, [](const auto& a) { return a.DataOffset.has_value(); })) return false;
      info.Attachments.back().DataOffset = value.Offset - 8;
      info.Attachments.back().Data = value;
    } else if (id == kAttAttachment) {
      if (!Current(info, [](const auto& a) { return a.PropertiesRead; })) return false;
      auto& attachment = info.Attachments.back();
      attachment.PropertiesRead = true;
      ReadAttachmentProperties(attachment, value, info.CodePage, depth);
    } else if (level == kLevelMessage) {
      MessageRecord(info, id, value, attSubject);
    }
    return true;
  }

  bool NewAttachment(TTnefInfo& info) {
    if (++FBudget.Attachments > kMaxWalkedAttachments) return false;
    info.Attachments.emplace_back();
    return true;
  }
  // The attachment a record belongs to: the current one, or a new one when the current one
  // already has what the record gives (a sender that writes no attAttachRendData).
  template <typename Has>
  bool Current(TTnefInfo& info, Has has) {
    if (!info.Attachments.empty() && !has(info.Attachments.back())) return true;
    return NewAttachment(info);
  }

  void MessageRecord(TTnefInfo& info, std::uint32_t id, const TTnefRange& value,
                     std::optional<std::wstring>& attSubject) {
    if (id == kAttMsgProps) {
      ReadMessageProperties(info, value);
    } else if (id == kAttSubject) {
      attSubject = Text8(value, info.CodePage);
    } else if (id == kAttBody && !info.Body.Text) {
      info.Body.Text = TTnefText{value, false};
    } else if (id == kAttMessageClass && info.Header.MessageClass.empty()) {
      info.Header.MessageClass =
          UpToZero(FFile.Bytes(value.Offset, std::min<std::uint64_t>(value.Size, kMaxTextBytes))
                       .value_or(""));
    } else if (id == kAttDateSent && !info.Header.SubmitTime) {
      info.Header.SubmitTime = DateTimeRecord(value);
    }
  }

  // attDateSent: year, month, day, hour, minute, second and weekday, two bytes each, as a
  // FILETIME.
  std::optional<std::uint64_t> DateTimeRecord(const TTnefRange& value) {
    if (value.Size < 12) return std::nullopt;
    const auto bytes = FFile.Bytes(value.Offset, 12);
    if (!bytes) return std::nullopt;
    const auto field = [&](int i) {
      return static_cast<int>(static_cast<unsigned char>((*bytes)[2 * i]) |
                              static_cast<unsigned char>((*bytes)[2 * i + 1]) << 8);
    };
    const int year = field(0), month = field(1), day = field(2);
    if (year < 1601 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    // Days from 1601-01-01 by the proleptic Gregorian calendar.
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400, yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long days = era * 146097LL + yoe * 365 + yoe / 4 - yoe / 100 + doy - 584694;
    const long long seconds = days * 86400 + field(3) * 3600LL + field(4) * 60LL + field(5);
    if (seconds < 0) return std::nullopt;
    return static_cast<std::uint64_t>(seconds) * 10000000ULL;
  }

  std::optional<std::wstring> Text8(const TTnefRange& range, std::optional<unsigned> codePage) {
    const auto bytes =
        FFile.Bytes(range.Offset, std::min<std::uint64_t>(range.Size, kMaxTextBytes));
    if (!bytes) return std::nullopt;
    return SenderText(UpToZero(*bytes), codePage);
  }
  // A short text property (a name, a subject); nothing for other types or when it is too long.
  std::optional<std::wstring> Text(std::uint16_t type, const TPropertyValue& value,
                                   std::optional<unsigned> codePage) {
    if (!value.Range || value.Range->Size > kMaxTextBytes) return std::nullopt;
    if (type == kPtString8) return Text8(*value.Range, codePage);
    if (type != kPtUnicode) return std::nullopt;
    const auto bytes = FFile.Bytes(value.Range->Offset, value.Range->Size);
    if (!bytes) return std::nullopt;
    return FromUtf16Le(*bytes);
  }

  void ReadAttachmentProperties(TTnefAttachmentInfo& attachment, const TTnefRange& block,
                                std::optional<unsigned> codePage, unsigned depth) {
    std::optional<std::wstring> unicodeName, eightBitName;
    bool holdsMessage = false;
    TPropertyWalk(FFile, block.Offset, block.Offset + block.Size)
        .Read([&](std::uint16_t id, std::uint16_t type, const TPropertyValue& value) {
          if (id == kPrAttachLongFilename && type == kPtUnicode)
            unicodeName = Text(type, value, codePage);
          if (id == kPrAttachLongFilename && type == kPtString8)
            eightBitName = Text(type, value, codePage);
          if (id == kPrDisplayName) {
            if (auto name = Text(type, value, codePage)) attachment.DisplayName = std::move(name);
          }
          if (id == kPrAttachMimeTag) {
            if (auto tag = Text(type, value, codePage)) attachment.MimeTag = AsciiOnly(*tag);
          }
          if (id == kPrAttachMethod && type == kPtLong && value.Fixed)
            attachment.Method = static_cast<std::uint32_t>(*value.Fixed);
          if (id == kPrAttachDataBin && type == kPtBinary && value.Range)
            attachment.BlockData = value.Range;
          if (id == kPrAttachDataBin && type == kPtObject && value.Range &&
              value.Range->Size >= kInterfaceIdSize) {
            attachment.BlockData = TTnefRange{value.Range->Offset + kInterfaceIdSize,
                                              value.Range->Size - kInterfaceIdSize};
            holdsMessage =
                FFile.Bytes(value.Range->Offset, kInterfaceIdSize) == std::string(kIidIMessage);
          }
        });
    if (unicodeName && !unicodeName->empty())
      attachment.LongName = unicodeName;
    else if (eightBitName && !eightBitName->empty())
      attachment.LongName = eightBitName;
    if (!holdsMessage) return;
    if (depth + 1 >= kMaxTnefNesting) {
      attachment.EmbeddedTooDeep = true;
      return;
    }
    const TTnefRange& data = *attachment.BlockData;
    attachment.Embedded =
        std::make_shared<const TTnefInfo>(Walk(data.Offset, data.Offset + data.Size, depth + 1));
  }

  void ReadMessageProperties(TTnefInfo& info, const TTnefRange& block) {
    TTnefHeader& header = info.Header;
    TTnefBody& body = info.Body;
    std::wstring senderName, sentRepresentingName, senderAddress, sentRepresentingAddress;
    const auto take = [&](std::wstring& into, std::uint16_t type, const TPropertyValue& value) {
      if (auto text = Text(type, value, info.CodePage)) into = std::move(*text);
    };
    TPropertyWalk(FFile, block.Offset, block.Offset + block.Size)
        .Read([&](std::uint16_t id, std::uint16_t type, const TPropertyValue& value) {
          const bool text = type == kPtString8 || type == kPtUnicode;
          if (id == kPrSubject && text) take(header.Subject, type, value);
          if (id == kPrSenderName && text) take(senderName, type, value);
          if (id == kPrSentRepresentingName && text) take(sentRepresentingName, type, value);
          if ((id == kPrSenderSmtp || (id == kPrSenderEmail && senderAddress.empty())) && text)
            take(senderAddress, type, value);
          if ((id == kPrSentRepresentingSmtp ||
               (id == kPrSentRepresentingEmail && sentRepresentingAddress.empty())) &&
              text)
            take(sentRepresentingAddress, type, value);
          if (id == kPrDisplayTo && text) take(header.To, type, value);
          if (id == kPrDisplayCc && text) take(header.Cc, type, value);
          if (id == kPrClientSubmitTime && type == kPtSystime && value.Fixed)
            header.SubmitTime = value.Fixed;
          if (id == kPrInternetMessageId && text) {
            std::wstring messageId;
            take(messageId, type, value);
            header.MessageId = AsciiOnly(messageId);
          }
          if (id == kPrMessageClass && text) {
            std::wstring messageClass;
            take(messageClass, type, value);
            header.MessageClass = AsciiOnly(messageClass);
          }
          if (id == kPrBody && text && value.Range)
            body.Text = TTnefText{*value.Range, type == kPtUnicode};
          if (id == kPrRtfCompressed && type == kPtBinary && value.Range)
            body.RtfCompressed = value.Range;
          if (id == kPrHtml && (type == kPtBinary || type == kPtString8) && value.Range)
            body.Html = value.Range;
          if (id == kPrInternetCpid && type == kPtLong && value.Fixed)
            body.InternetCodePage = static_cast<unsigned>(*value.Fixed);
        });
    header.FromName = !senderName.empty() ? senderName : sentRepresentingName;
    header.FromAddress = !senderAddress.empty() ? senderAddress : sentRepresentingAddress;
    // An Exchange address ("/O=ORG/OU=...") is no address a mail client can answer.
    if (header.FromAddress.find(L'@') == std::wstring::npos) header.FromAddress.clear();
  }

  TFileReader& FFile;
  TWalkBudget& FBudget;
};

TTnefInfo WalkFile(TFileReader& file) {
  TWalkBudget budget;
  return TRecordWalk(file, budget).Walk(0, file.Size(), 0);
}

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

std::wstring TitleText(std::string bytes, std::optional<unsigned> codePage) {
  bytes.resize(std::min(bytes.find('\0'), bytes.size()));
  return SenderText(bytes, codePage);
}

TTnefInfo ReadTnefInfo(const std::filesystem::path& path) {
  TFileReader file(path);
  return WalkFile(file);
}

TTnefInfo ReadTnefInfo(std::string_view bytes) {
  TFileReader file(bytes);
  return WalkFile(file);
}

}  // namespace vlm
