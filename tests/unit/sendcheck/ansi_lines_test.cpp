#include "sendcheck/ansi_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "base/host_lines.h"

namespace vlm {
namespace {

// Messages of ASCII lines, long ASCII stretches and Japanese lines, with every kind of break.
// "ソ" and "表" end in the byte of "\", "＠" and "ァ" in that of "@".
std::string RandomMessage(std::mt19937& random) {
  const std::string japanese = ToAnsi(L"添付ファイル、ｱｲｳ。ソ表＠ァ");
  const char* breaks[] = {"\r\n", "\r", "\n"};
  std::string message;
  const int lines = std::uniform_int_distribution(0, 40)(random);
  for (int i = 0; i < lines; ++i) {
    switch (std::uniform_int_distribution(0, 4)(random)) {
      case 0:
        message += japanese.substr(0, 2 * std::uniform_int_distribution(1, 6)(random));
        break;
      case 1:
        message += "ab" + japanese + "cd\\@";
        break;
      case 2:
        message += std::string(std::uniform_int_distribution(0, 9000)(random), 'Q');
        break;
      case 3:
        message += japanese.substr(2 * std::uniform_int_distribution(0, 12)(random));
        break;
      default:
        break;
    }
    if (i + 1 < lines || random() % 2) message += breaks[random() % 3];
  }
  return message;
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  TLineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  return lines;
}

// Read in the code page, every line answers what its wide conversion answers: its characters,
// and whether each text stands in it (never from the second byte of a two-byte character).
TEST(TAnsiLine, AnswersAsTheConvertedLineDoes) {
  const TLeadBytes lead;
  const std::wstring texts[] = {L"添付", L"ファイル", L"\\",  L"@",   L"ソ",
                                L"cd",   L"Q",        L"\\@", L"表＠"};
  std::mt19937 random(932);
  for (int i = 0; i < 300; ++i) {
    const std::string message = RandomMessage(random);
    for (const std::string& bytes : Lines(message)) {
      const TAnsiLine line(bytes, lead);
      const std::wstring wide = FromAnsi(bytes);
      ASSERT_EQ(line.CharCount(), wide.size()) << "message " << i;
      for (const std::wstring& text : texts) {
        const TNeedle needle(text);
        ASSERT_EQ(needle.In(line), wide.find(text) != std::wstring::npos)
            << "message " << i << ", text " << ToUtf8(text) << ", line " << ToUtf8(wide);
      }
    }
  }
}

// A sweep over the whole message answers for each line what the line itself answers, whatever
// limits the lines are asked with (a sweep that stopped short starts again).
TEST(TNeedleSweep, AnswersLineByLineAsTheLinesDo) {
  const TLeadBytes lead;
  const std::wstring texts[] = {L"添付", L"\\", L"@", L"ソ", L"Q", L"cd\\@", L"表＠"};
  std::mt19937 random(50220);
  for (int i = 0; i < 200; ++i) {
    const std::string message = RandomMessage(random);
    for (const std::wstring& text : texts) {
      const TNeedle needle(text);
      TNeedleSweep sweep(needle, message);
      TLineReader reader(message);
      for (std::string_view bytes; reader.Next(bytes);) {
        const TAnsiLine line(bytes, lead);
        const auto begin = static_cast<std::size_t>(bytes.data() - message.data());
        const std::size_t limit =
            random() % 2 ? message.size() : std::min(message.size(), begin + random() % 200);
        ASSERT_EQ(sweep.On(line, limit), needle.In(line))
            << "message " << i << ", text " << ToUtf8(text) << ", line " << ToUtf8(FromAnsi(bytes));
      }
    }
  }
}

TEST(TNeedle, FindsAsciiTextsWhereTheyBegin) {
  struct Case {
    std::string line;
    std::wstring text;
    std::optional<std::size_t> at;
  };
  const Case cases[] = {
      {"Content-Disposition: attachment;", L"attachment;", 21},
      {"content-disposition: ATTACHMENT;", L"Content-Disposition: attachment;", std::nullopt},
      {"aab", L"ab", 1},
      {"ab", L"abc", std::nullopt},
      {"ab", L"", 0},
      {"abc", L"c", 2},
      {"abc", L"\u6dfb", std::nullopt},
      {"", L"", 0},
      {"abc", L"\u0100", std::nullopt},  // no form in the code page
  };
  const TLeadBytes lead;
  for (const Case& c : cases) {
    const TAnsiLine line(c.line, lead);
    EXPECT_EQ(TNeedle(c.text).FindIn(line), c.at) << c.line;
    EXPECT_EQ(TNeedle(c.text).In(FromAnsi(c.line)), c.at.has_value()) << c.line;
  }
}

}  // namespace
}  // namespace vlm
