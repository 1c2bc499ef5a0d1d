#include "sendcheck/message_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/ansi_text.h"

namespace vlm {
namespace {

// Messages of ASCII lines, long ASCII stretches and Japanese lines, with every kind of break.
std::string RandomMessage(std::mt19937& random) {
  const std::string japanese = ToAnsi(L"添付ファイル、ｱｲｳ。ソ表");
  const char* breaks[] = {"\r\n", "\r", "\n"};
  std::string message;
  const int lines = std::uniform_int_distribution(0, 40)(random);
  for (int i = 0; i < lines; ++i) {
    switch (std::uniform_int_distribution(0, 3)(random)) {
      case 0:
        message += japanese.substr(0, 2 * std::uniform_int_distribution(1, 6)(random));
        break;
      case 1:
        message += "ab" + japanese + "cd";
        break;
      case 2:
        message += std::string(std::uniform_int_distribution(0, 9000)(random), 'Q');
        break;
      default:
        break;
    }
    if (i + 1 < lines || random() % 2) message += breaks[random() % 3];
  }
  return message;
}

std::vector<std::wstring> All(const SendLines& lines) {
  std::vector<std::wstring> all;
  for (std::size_t i = 0; i < lines.size(); ++i) all.push_back(lines[i].ToWide());
  return all;
}

TEST(SendLines, HoldsTheLinesOfTheWholeTextConverted) {
  std::mt19937 random(932);
  for (int i = 0; i < 300; ++i) {
    const std::string message = RandomMessage(random);
    const std::wstring wide = FromAnsi(message);
    const auto expected = SplitLines(std::wstring_view(wide));
    ASSERT_EQ(All(SendLines(message)), std::vector<std::wstring>(expected.begin(), expected.end()))
        << "message " << i;
  }
}

std::vector<std::wstring> Strings(const std::vector<std::wstring_view>& views) {
  return {views.begin(), views.end()};
}

TEST(SplitLines, BreaksAtCrLfCrOrLfAndNoLineAfterAFinalBreak) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {L"", {}},
      {L"\r\n", {L""}},
      {L"a\r\nb\r\n", {L"a", L"b"}},
      {L"a\r\nb", {L"a", L"b"}},
      {L"a\rb\nc", {L"a", L"b", L"c"}},
      {L"a\n\nb", {L"a", L"", L"b"}},
      {L"a\r\r\nb", {L"a", L"", L"b"}},
      {L"a\n\r", {L"a", L""}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Strings(SplitLines(std::wstring_view(c.text))), c.lines)
        << "case with " << c.lines.size() << " lines, text size " << c.text.size();
}

TEST(SendLines, PlacesTheExtraLineAtItsIndexOrAtTheEnd) {
  struct Case {
    std::size_t index;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {0, {L"S", L"a", L"b"}},
      {1, {L"a", L"S", L"b"}},
      {2, {L"a", L"b", L"S"}},
      {7, {L"a", L"b", L"S"}},
  };
  for (const Case& c : cases) {
    SendLines lines("a\r\nb");
    lines.Insert(c.index, L"S");
    EXPECT_EQ(All(lines), c.lines) << "index " << c.index;
  }
  SendLines empty("");
  empty.Insert(2, L"S");
  EXPECT_EQ(All(empty), std::vector<std::wstring>{L"S"});
}

TEST(MessageLine, AsciiAndWideLinesAnswerAlike) {
  struct Case {
    std::wstring line, text;
    std::size_t find;
    bool begins, equalsIgnoringCase;
  };
  const std::size_t npos = MessageLine::npos;
  const Case cases[] = {
      {L"Content-Disposition: attachment;", L"attachment;", 21, false, false},
      {L"content-disposition: ATTACHMENT;", L"Content-Disposition: attachment;", npos, false, true},
      {L"aab", L"ab", 1, false, false},
      {L"ab", L"abc", npos, false, false},
      {L"ab", L"", 0, true, false},
      {L"> quoted", L">", 0, true, false},
      {L"abc", L"c", 2, false, false},
      {L"abc", L"\u6dfb", npos, false, false},
      {L"", L"", 0, true, true},
  };
  for (const Case& c : cases) {
    const std::string ascii(c.line.begin(), c.line.end());
    for (const MessageLine line : {MessageLine(std::string_view(ascii)), MessageLine(c.line)}) {
      EXPECT_EQ(line.find(c.text), c.find) << ascii;
      EXPECT_EQ(line.BeginsWith(c.text), c.begins) << ascii;
      EXPECT_EQ(line.EqualsIgnoringCase(c.text), c.equalsIgnoringCase) << ascii;
      EXPECT_EQ(line.ToWide(), c.line);
    }
  }
}

}  // namespace
}  // namespace vlm
