#include "base/character_starts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ansi_text.h"

namespace vlm {
namespace {

// Where the characters of `text` begin, found by converting each prefix: a prefix that ends
// inside a character does not convert back to itself.
std::vector<bool> StartsByConversion(const std::string& text) {
  std::vector<bool> starts;
  for (std::size_t at = 0; at < text.size(); ++at) {
    bool whole = true;
    try {
      whole = ToAnsi(FromAnsi(text.substr(0, at))) == text.substr(0, at);
    } catch (const std::exception&) {
      whole = false;
    }
    starts.push_back(whole);
  }
  return starts;
}

TEST(TCharacterStarts, TextIsNotFoundInTheSecondByteOfADoubleByteCharacter) {
  const TLeadBytes lead;
  // 0x83 0x62 is one character of the code page whose second byte is the letter 'b'.
  const std::string line =
      "X: \x83"
      "boundary=\"no\"";
  EXPECT_FALSE(TCharacterStarts(line, lead).At(line.find("boundary=")));
  const std::string kana = "X: \x83\x41 boundary=\"yes\"";
  EXPECT_TRUE(TCharacterStarts(kana, lead).At(kana.find("boundary=")));
}

// Asked in rising order, in falling order and from the first 8-bit byte on, the walk answers as
// the conversion does.
TEST(TCharacterStarts, AnswersAsTheConversionInAnyOrder) {
  const TLeadBytes lead;
  const std::string texts[] = {
      "",
      "ascii only",
      ToAnsi(L"添付ファイル"),
      "ab" + ToAnsi(L"ソ表＠ァ") + "cd\\@",
      ToAnsi(L"ｱｲｳ。") + "x" + ToAnsi(L"添付"),
  };
  for (const std::string& text : texts) {
    const std::vector<bool> expected = StartsByConversion(text);
    std::size_t firstEightBit = 0;
    while (firstEightBit < text.size() && (text[firstEightBit] & 0x80) == 0) ++firstEightBit;
    TCharacterStarts rising(text, lead), falling(text, lead),
        fromEightBit(text, lead, firstEightBit);
    for (std::size_t at = 0; at < text.size(); ++at) {
      EXPECT_EQ(rising.At(at), expected[at]) << ToUtf8(FromAnsi(text)) << " at " << at;
      EXPECT_EQ(fromEightBit.At(at), expected[at]) << ToUtf8(FromAnsi(text)) << " at " << at;
    }
    for (std::size_t at = text.size(); at-- > 0;)
      EXPECT_EQ(falling.At(at), expected[at]) << ToUtf8(FromAnsi(text)) << " at " << at;
  }
}

}  // namespace
}  // namespace vlm
