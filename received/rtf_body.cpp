#include "received/rtf_body.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <stdexcept>
#include <vector>

#include "base/ansi_text.h"

namespace vlm {
namespace {

// Real bodies nest a few dozen groups; a deeper one is no body Outlook wrote.
constexpr std::size_t kDeepestGroup = 1000;
// RTF's \ansi without \ansicpgN.
constexpr unsigned kDefaultAnsiCodePage = 1252;
// A font whose code page is the document's own (\fcharset0, or a character set not listed).
constexpr unsigned kDocumentCodePage = 0;
constexpr long kLongestParameter = 1'000'000'000;

// Where the text of a group goes.
enum class TDestination {
  Body,       // the document's text
  FontTable,  // \fonttbl: fonts and their character sets, no text
  HtmlTag,    // {\*\htmltagN ...}: HTML markup of an encapsulated HTML body
  Skipped,    // any other destination: neither text of the body nor anything it depends on
};

// What each group inherits from the one around it and gets back when an inner group closes.
struct TGroupState {
  TDestination Destination = TDestination::Body;
  bool HtmlRtf = false;     // inside \htmlrtf ... \htmlrtf0: RTF that only renders the HTML
  long FallbackLength = 1;  // \ucN: characters after \uN that stand in for it elsewhere
  long Font = -1;           // \fN; -1 until the body selects one, meaning \deffN
};

struct TControlWord {
  std::string_view Name;
  bool HasParameter = false;
  long Parameter = 0;
};

unsigned CodePageOfCharacterSet(long characterSet) {
  static const std::map<long, unsigned> kCodePages = {
      {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},  {161, 1253}, {162, 1254},
      {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
  };
  const auto found = kCodePages.find(characterSet);
  return found == kCodePages.end() ? kDocumentCodePage : found->second;
}

// Control words whose group is a destination that holds no text of the body.
bool IsSkippedDestination(std::string_view name) {
  static constexpr std::string_view kNames[] = {"colortbl",
                                                "stylesheet",
                                                "info",
                                                "pict",
                                                "object",
                                                "header",
                                                "headerl",
                                                "headerr",
                                                "headerf",
                                                "footer",
                                                "footerl",
                                                "footerr",
                                                "footerf",
                                                "footnote",
                                                "listtable",
                                                "listoverridetable",
                                                "revtbl",
                                                "rsidtbl",
                                                "generator",
                                                "xmlnstbl",
                                                "fldinst",
                                                "themedata",
                                                "colorschememapping",
                                                "latentstyles",
                                                "datastore",
                                                "filetbl",
                                                "pntext",
                                                "pntxta",
                                                "pntxtb",
                                                "nonshppict",
                                                "annotation",
                                                "atnid",
                                                "atnauthor"};
  return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

// Control words that stand for a character or a line break.
std::wstring_view TextOfControlWord(std::string_view name) {
  static const std::map<std::string_view, std::wstring_view> kTexts = {
      {"par", L"\r\n"},         {"line", L"\r\n"},      {"tab", L"\t"},
      {"lquote", L"\u2018"},    {"rquote", L"\u2019"},  {"ldblquote", L"\u201C"},
      {"rdblquote", L"\u201D"}, {"bullet", L"\u2022"},  {"endash", L"\u2013"},
      {"emdash", L"\u2014"},    {"enspace", L"\u2002"}, {"emspace", L"\u2003"},
      {"qmspace", L"\u2005"},   {"zwj", L"\u200D"},     {"zwnj", L"\u200C"},
      {"ltrmark", L"\u200E"},   {"rtlmark", L"\u200F"},
  };
  const auto found = kTexts.find(name);
  return found == kTexts.end() ? std::wstring_view() : found->second;
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// \uN gives UTF-16 code units; where wchar_t holds a whole code point, a pair becomes one.
std::wstring JoinSurrogatePairs(std::wstring text) {
  if constexpr (sizeof(wchar_t) == 2) {
    return text;
  } else {
    std::wstring joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto unit = static_cast<unsigned long>(text[i]);
      const bool high = unit >= 0xD800 && unit <= 0xDBFF;
      const auto next = i + 1 < text.size() ? static_cast<unsigned long>(text[i + 1]) : 0ul;
      if (high && next >= 0xDC00 && next <= 0xDFFF) {
        joined.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00)));
        ++i;
      } else {
        joined.push_back(text[i]);
      }
    }
    return joined;
  }
}

// Bytes in `codePage` that do not convert as a whole: each character that does, ASCII as it
// is, and U+FFFD for a byte that begins none.
std::wstring ConvertByteByByte(unsigned codePage, std::string_view bytes) {
  std::wstring text;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      text.push_back(static_cast<wchar_t>(bytes[i++]));
      continue;
    }
    std::size_t length = 1;
    for (; length <= 2 && i + length <= bytes.size(); ++length) {
      try {
        text += FromCodePage(codePage, bytes.substr(i, length));
        break;
      } catch (const std::runtime_error&) {
      }
    }
    if (length > 2 || i + length > bytes.size()) {
      text.push_back(L'\uFFFD');
      length = 1;
    }
    i += length;
  }
  return text;
}

class TRtfBodyReader {
 public:
  explicit TRtfBodyReader(std::string_view rtf) : FRtf(rtf) {}

  TRtfBody Read() {
    const std::size_t start = FRtf.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || FRtf.substr(start, 5) != "{\\rtf") return {};
    FAt = start;
    // Once the document shows text as RTF, nothing can make it HTML or text any more.
    while (FAt < FRtf.size() && !FDone && !(FSawText && FKind == TRtfBody::TKind::Rtf)) {
      const char c = FRtf[FAt++];
      if (c == '{') {
        if (!OpenGroup()) return {};
      } else if (c == '}') {
        CloseGroup();
      } else if (c == '\\') {
        ReadControl();
      } else if (c != '\r' && c != '\n') {
        TextByte(c);
        FGroupStart = false;
      }
    }
    FlushBytes();
    if (FKind == TRtfBody::TKind::Rtf) return {};
    return {FKind, JoinSurrogatePairs(std::move(FOut))};
  }

 private:
  TGroupState& Group() { return FGroups.back(); }

  bool OpenGroup() {
    FlushBytes();
    FFallbackLeft = 0;
    if (FGroups.size() == kDeepestGroup) return false;
    FGroups.push_back(FGroups.empty() ? TGroupState() : Group());
    FGroupStart = true;
    FStarred = false;
    return true;
  }

  void CloseGroup() {
    FlushBytes();
    FFallbackLeft = 0;
    FGroupStart = false;
    if (!FGroups.empty()) FGroups.pop_back();
    FDone = FGroups.empty();
  }

  void ReadControl() {
    if (FAt == FRtf.size()) return;
    if (IsLetter(FRtf[FAt])) {
      const TControlWord word = ReadControlWord();
      FlushBytes();
      ControlWord(word);
      FGroupStart = false;
      return;
    }
    const char symbol = FRtf[FAt++];
    if (symbol == '*') {
      FStarred = true;
      return;
    }
    FGroupStart = false;
    ControlSymbol(symbol);
  }

  TControlWord ReadControlWord() {
    TControlWord word;
    const std::size_t nameStart = FAt;
    while (FAt < FRtf.size() && IsLetter(FRtf[FAt])) ++FAt;
    word.Name = FRtf.substr(nameStart, FAt - nameStart);
    const bool negative = FAt < FRtf.size() && FRtf[FAt] == '-';
    if (negative) ++FAt;
    while (FAt < FRtf.size() && IsDigit(FRtf[FAt])) {
      word.HasParameter = true;
      word.Parameter = std::min(word.Parameter * 10 + (FRtf[FAt++] - '0'), kLongestParameter);
    }
    if (negative) word.Parameter = -word.Parameter;
    if (FAt < FRtf.size() && FRtf[FAt] == ' ') ++FAt;
    return word;
  }

  void ControlSymbol(char symbol) {
    switch (symbol) {
      case '\'':
        HexByte();
        return;
      case '{':
      case '}':
      case '\\':
        TextByte(symbol);
        return;
      case '~':
        Character(L"\u00A0");
        return;
      case '_':
        Character(L"\u2011");
        return;
      case '\r':
      case '\n':
        Character(L"\r\n");
        return;
      default:
        return;  // \- (optional hyphen), \| and \: (formulas and index entries) have no text
    }
  }

  void ControlWord(const TControlWord& word) {
    if (word.Name == "bin") return SkipBinary(word.Parameter);
    if (FGroupStart && StartsDestination(word.Name)) return;
    switch (Group().Destination) {
      case TDestination::FontTable:
        return FontTableWord(word);
      case TDestination::Skipped:
        return;
      case TDestination::Body:
      case TDestination::HtmlTag:
        return TextWord(word);
    }
  }

  // The first control word of a group names its destination; true when it did.
  bool StartsDestination(std::string_view name) {
    TDestination& destination = Group().Destination;
    if (destination != TDestination::Body && destination != TDestination::HtmlTag) return false;
    if (name == "fonttbl") {
      destination = TDestination::FontTable;
    } else if (FStarred) {
      // {\*\mhtmltagN ...} repeats a tag with its links rewritten to parts of an MHTML copy;
      // the HTML taken out keeps the sender's own links of the \htmltag beside it.
      destination = name == "htmltag" ? TDestination::HtmlTag : TDestination::Skipped;
    } else if (IsSkippedDestination(name)) {
      destination = TDestination::Skipped;
    } else {
      return false;
    }
    return true;
  }

  void FontTableWord(const TControlWord& word) {
    if (word.Name == "f") {
      FTableFont = word.Parameter;
    } else if (word.Name == "fcharset") {
      FFontCodePages[FTableFont] = CodePageOfCharacterSet(word.Parameter);
    } else if (word.Name == "cpg" && word.Parameter > 0) {
      FFontCodePages[FTableFont] = static_cast<unsigned>(word.Parameter);
    }
  }

  void TextWord(const TControlWord& word) {
    if (word.Name == "u") return Unicode(word.Parameter);
    if (FFallbackLeft > 0) {
      --FFallbackLeft;
      return;
    }
    if (word.Name == "ansicpg" && word.Parameter > 0) {
      FAnsiCodePage = static_cast<unsigned>(word.Parameter);
    } else if (word.Name == "deff") {
      FDefaultFont = word.Parameter;
    } else if (word.Name == "f") {
      Group().Font = word.Parameter;
    } else if (word.Name == "uc") {
      Group().FallbackLength = std::max(word.Parameter, 0l);
    } else if (word.Name == "htmlrtf") {
      Group().HtmlRtf = !word.HasParameter || word.Parameter != 0;
    } else if (word.Name == "fromhtml" && word.Parameter == 1) {
      SetKind(TRtfBody::TKind::Html);
    } else if (word.Name == "fromtext") {
      SetKind(TRtfBody::TKind::Text);
    } else {
      Character(TextOfControlWord(word.Name));
    }
  }

  // The kind is told in the header: before any text, at the document's own level.
  void SetKind(TRtfBody::TKind kind) {
    if (FKind == TRtfBody::TKind::Rtf && !FSawText && FGroups.size() == 1) FKind = kind;
  }

  void SkipBinary(long length) {
    FAt += std::min(static_cast<std::size_t>(std::max(length, 0l)), FRtf.size() - FAt);
  }

  bool Emitting() {
    if (FKind == TRtfBody::TKind::Html)
      return !Group().HtmlRtf && (Group().Destination == TDestination::Body ||
                                  Group().Destination == TDestination::HtmlTag);
    return FKind == TRtfBody::TKind::Text && Group().Destination == TDestination::Body;
  }

  void TextByte(char byte) {
    if (FGroups.empty()) return;
    if (Group().Destination == TDestination::Body && byte != ' ') FSawText = true;
    if (FFallbackLeft > 0) {
      --FFallbackLeft;
      return;
    }
    if (Emitting()) FBytes.push_back(byte);
  }

  void HexByte() {
    if (FRtf.size() - FAt < 2) {
      FAt = FRtf.size();
      return;
    }
    const int high = HexValue(FRtf[FAt]);
    const int low = HexValue(FRtf[FAt + 1]);
    FAt += 2;
    if (high >= 0 && low >= 0) TextByte(static_cast<char>(high * 16 + low));
  }

  void Unicode(long value) {
    FlushBytes();
    if (value < 0) value += 65536;
    if (value >= 0 && value <= 0xFFFF && Emitting()) FOut.push_back(static_cast<wchar_t>(value));
    FFallbackLeft = Group().FallbackLength;
  }

  void Character(std::wstring_view text) {
    FlushBytes();
    if (FFallbackLeft > 0) {
      --FFallbackLeft;
      return;
    }
    if (!text.empty() && Emitting()) FOut += text;
  }

  unsigned CodePage() const {
    const long font = FGroups.back().Font >= 0 ? FGroups.back().Font : FDefaultFont;
    const auto found = FFontCodePages.find(font);
    if (found == FFontCodePages.end() || found->second == kDocumentCodePage) return FAnsiCodePage;
    return found->second;
  }

  // Bytes of text collected since the last control word, converted together: the two bytes of
  // a double-byte character come as two \'xx in a row.
  void FlushBytes() {
    if (FBytes.empty()) return;
    if (std::all_of(FBytes.begin(), FBytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      FOut.append(FBytes.begin(), FBytes.end());
    } else {
      try {
        FOut += FromCodePage(CodePage(), FBytes);
      } catch (const std::runtime_error&) {
        FOut += ConvertByteByByte(CodePage(), FBytes);
      }
    }
    FBytes.clear();
  }

  std::string_view FRtf;
  std::size_t FAt = 0;
  bool FDone = false;
  std::vector<TGroupState> FGroups;
  bool FGroupStart = false;  // no token yet in the group just opened, but perhaps \*
  bool FStarred = false;     // the group just opened began with \*
  long FFallbackLeft = 0;    // fallback characters of the last \uN still to skip
  std::map<long, unsigned> FFontCodePages;
  long FTableFont = -1;
  long FDefaultFont = -1;
  unsigned FAnsiCodePage = kDefaultAnsiCodePage;
  TRtfBody::TKind FKind = TRtfBody::TKind::Rtf;
  bool FSawText = false;
  std::string FBytes;
  std::wstring FOut;
};

}  // namespace

TRtfBody ReadRtfBody(std::string_view rtf) {
  return TRtfBodyReader(rtf).Read();
}

}  // namespace vlm
