#include "sendcheck/message_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "plugin/ansi_text.h"

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

TEST(WidenMessage, GivesWhatTheCodePageConversionGives) {
  std::mt19937 random(932);
  for (int i = 0; i < 300; ++i) {
    const std::string message = RandomMessage(random);
    ASSERT_EQ(WidenMessage(message), FromAnsi(message)) << "message " << i;
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
    EXPECT_EQ(Strings(SplitLines(c.text)), c.lines)
        << "case with " << c.lines.size() << " lines, text size " << c.text.size();
}

std::vector<std::wstring> All(const SendLines& lines) {
  std::vector<std::wstring> all;
  for (std::size_t i = 0; i < lines.size(); ++i) all.emplace_back(lines[i]);
  return all;
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
    SendLines lines({L"a", L"b"});
    lines.Insert(c.index, L"S");
    EXPECT_EQ(All(lines), c.lines) << "index " << c.index;
  }
  SendLines empty({});
  empty.Insert(2, L"S");
  EXPECT_EQ(All(empty), std::vector<std::wstring>{L"S"});
}

}  // namespace
}  // namespace vlm
