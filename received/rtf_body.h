#pragma once
// What the RTF body of a winmail.dat says. Outlook keeps an HTML or plain-text message as RTF
// that carries the original inside it: \fromhtml1 in the header marks HTML, its markup kept in
// {\*\htmltagN ...} groups and its text between them, with the RTF that only renders it marked
// off by \htmlrtf ... \htmlrtf0; \fromtext marks plain text, written as the document's text.
// Anything else is a body written as RTF, which is kept as it is.
//
// Text is read in the code page of the font it is written in (\fN, whose \fcharsetN the font
// table gives) or the document's \ansicpgN: a Japanese sender's \'93\'fa is one character in
// code page 932. \uN characters are taken with their \ucN fallback skipped.
//
// The body comes from anyone: one pass over it, a group stack of bounded depth, no recursion.
#include <string>
#include <string_view>

namespace vlm {

struct TRtfBody {
  enum class TKind { Html, Text, Rtf };
  TKind Kind = TKind::Rtf;
  // The HTML or the plain text the sender wrote, lines ending in CR LF; empty for Rtf.
  std::wstring Text;
};

// Never raises for what the body holds: a body that cannot be read as one that carries HTML or
// text (not RTF, groups nested deeper than the reader follows) comes back as Rtf.
[[nodiscard]] TRtfBody ReadRtfBody(std::string_view rtf);

}  // namespace vlm
