#include "received/mime_rules.h"

#include <gtest/gtest.h>

#include "received/work_files.h"

namespace vlm {
namespace {

std::string Join(const TLineList& lines) {
  std::string text;
  for (const auto line : lines) text += std::string(line) + "|";
  return text;
}

TEST(MimeRules, SplitsAtEveryKindOfBreak) {
  struct Case {
    std::string_view text;
    std::string lines;
  } cases[] = {
      {"", ""},
      {"a", "a|"},
      {"a\r\nb\r\n", "a|b|"},
      {"a\rb\nc\r\n\r\nd", "a|b|c||d|"},
      {"\n\n", "||"},
      {"a\r\r\nb", "a||b|"},
  };
  for (const auto& c : cases) EXPECT_EQ(Join(SplitLines(c.text)), c.lines) << c.text;
}

// The message boundary's own cases are with the Content-Type reader's.

TEST(MimeRules, TextIsNotFoundInTheSecondByteOfADoubleByteCharacter) {
  // 0x83 0x62 is one character of the code page whose second byte is the letter 'b'.
  const std::string line =
      "X: \x83"
      "boundary=\"no\"";
  EXPECT_FALSE(ContainsText(line, "boundary="));
  const std::string kana = "X: \x83\x41 boundary=\"yes\"";
  size_t end = 0;
  EXPECT_TRUE(ContainsText(kana, "boundary=", &end));
  EXPECT_EQ(kana.substr(end), "\"yes\"");
}

TEST(MimeRules, ClosingDelimiterIsTheLastLineBeginningWithIt) {
  const TLineList lines = SplitLines("--b\r\nx\r\n--b--\r\nepilogue --b--\r\n--b--  \r\n");
  EXPECT_EQ(FindClosingDelimiter(lines, "b"), 4u);
  EXPECT_EQ(FindClosingDelimiter(SplitLines("--b\r\nb--\r\n"), "b"), kNoLine);
}

TEST(MimeRules, HeaderFieldsAreUnfoldedAndFoundWithoutRegardToCase) {
  const std::string source =
      "content-type: text/plain;\r\n\tcharset=\"ISO-2022-JP\"\r\nMessage-ID:  <a@b> \r\n"
      "X-Velmora: Setattach\r\n\r\nContent-Transfer-Encoding: 7bit\r\n";
  const TLineList lines = SplitLines(source);
  const size_t end = HeaderEnd(lines);
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(HeaderField(lines, end, "Content-Type"), "text/plain; charset=\"ISO-2022-JP\"");
  EXPECT_EQ(HeaderField(lines, end, "Message-ID"), "<a@b>");
  EXPECT_EQ(HeaderField(lines, end, "Content-Transfer-Encoding"), std::nullopt);
  EXPECT_EQ(FindHeaderField(lines, end, "Content-Type").End, 2u);
  EXPECT_TRUE(HasMarker(lines, end, "Setattach"));
  EXPECT_FALSE(HasMarker(lines, end, "Settlement"));
}

TEST(MimeRules, AttachmentPartLayout) {
  TLineWriter out;
  WriteAttachmentPart(out, "B", "application/pdf", "\x8e\x91\x97\xbf.pdf", "QUJD\r\nREVG\r\n");
  EXPECT_EQ(out.Text(),
            "--B\r\n"
            "Content-Type: application/pdf;\r\n"
            "\tname=\"\x8e\x91\x97\xbf.pdf\"\r\n"
            "Content-Transfer-Encoding: base64\r\n"
            "Content-Disposition: attachment;\r\n"
            "\tfilename=\"\x8e\x91\x97\xbf.pdf\"\r\n"
            "\r\n"
            "QUJD\r\n"
            "REVG\r\n"
            "\r\n"
            "\r\n");
  EXPECT_EQ(ClosingDelimiter("B"), "--B--");
}

TEST(MimeRules, Base64SizeOnlyForCleanText) {
  struct Case {
    std::string_view text;
    std::optional<std::uint64_t> size;
  } cases[] = {
      {"QUJD", 3},
      {"QUI=", 2},
      {"QQ==", 1},
      {"QUJD\r\nQQ==", 4},
      {"QUJ", std::nullopt},
      {"QQ=A", std::nullopt},
      {"Q===", std::nullopt},
      {"QU D", std::nullopt},
      {"QUJD\r\n--b", std::nullopt},
      {"", 0},
  };
  // Counted line by line, as the winmail.dat part is, and as a whole text, as the host's output.
  for (const auto& c : cases) {
    TBase64Count whole, byLine;
    whole.Add(c.text);
    for (const std::string_view line : SplitLines(c.text)) byLine.Add(line);
    EXPECT_EQ(whole.DecodedSize(), c.size) << c.text;
    EXPECT_EQ(byLine.DecodedSize(), c.size) << c.text;
  }
}

}  // namespace
}  // namespace vlm
